#include "menu/CSPMenuStateScores.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/FSApplicationContext.h"
#include "app/FSMenu.h"
#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "menu/MenuScreenSupport.h"

namespace {

constexpr int kRouteX = 36;
constexpr int kNameX = 55;
constexpr int kScoreX = 220;
constexpr int kScrollerLength = 150;
constexpr uint16_t kWhite = 0xFFFF;

std::string Bounded(const char* text, size_t size) {
    return std::string(text, strnlen(text, size));
}

}  // namespace

CSPMenuStateScores::CSPMenuStateScores(MFSMenu& menu)
    : MSPStylusMenuState(7, true, false, true), menu_(menu) {}

std::vector<CSPMenuStateScores::Line> CSPMenuStateScores::TableLines() {
    std::vector<Line> lines;
    for (const FSRouteScores& route : GetApplicationContext()->scores.routes) {
        lines.push_back({kRouteX, Bounded(route.name, sizeof route.name)});
        if (route.records.empty()) lines.push_back({kNameX, "- empty -"});
        for (const FSScoreRecord& record : route.records) {
            lines.push_back({kNameX, Bounded(record.name, sizeof record.name)});
            lines.push_back({kScoreX, std::to_string(record.score)});
        }
    }
    return lines;
}

bool CSPMenuStateScores::ClearScores() {
    FSScoreTable& table = GetApplicationContext()->scores;
    FSScoreTable cleared = table;
    for (FSRouteScores& route : cleared.routes)
        route.records.clear();
    // Scores that could not be cleared on disk stay on the screen too, where the player
    // sees that the clearing did not happen (they would come back at the next start).
    if (!SaveScores(cleared, ScoresFilePath())) return false;
    table = std::move(cleared);
    return true;
}

void CSPMenuStateScores::Load(MenuResources& r, int) {
    background_ = menu_screens::LoadMenuPicture("states/state_scores/scores.bmp");
    scroller_ = std::make_unique<CSPScrollerCtrl>();
    scroller_->Init(r.Screen(), {kListArea.right - 13, kListArea.top + 2}, kScrollerLength, 1);
    scroller_->SetStep(static_cast<float>(LineHeight()));
    UpdateRange();
}

void CSPMenuStateScores::Unload() {
    background_.reset();
    scroller_.reset();
    lines_.clear();
}

int CSPMenuStateScores::LineHeight() const {
    const MenuResources* r = Resources();
    return r ? std::max(r->scoresFont.LineHeight() + 2, 1) : 1;
}

void CSPMenuStateScores::UpdateRange() {
    lines_ = TableLines();
    int rows = 0;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].x != kScoreX) ++rows;
    const int visible = kListArea.bottom - kListArea.top - 10;
    scroller_->SetRange(0.0f, static_cast<float>(std::max(0, rows * LineHeight() - visible)));
}

int CSPMenuStateScores::HandleAction(int action) {
    if (!scroller_) return 0;
    const FSPoint stylus = menu_screens::Stylus();
    if (HandleSharedAction(action, stylus)) return 1;
    if (action == kActionStylusPressed &&
        menu_drawing::Inside(stylus, kClearLink.left, kClearLink.top, kClearLink.right, kClearLink.bottom)) {
        ClearScores();
        UpdateRange();
        return 1;
    }
    return scroller_->HandleAction(action);
}

void CSPMenuStateScores::Back() {
    menu_.SwitchScreen(0, 0);
}

int CSPMenuStateScores::Draw(int redraw) {
    MenuResources* r = Resources();
    if (!r || !scroller_ || !DrawBackground(redraw, background_.get())) return 0;
    const FSClipRect clip{kListArea.left, kListArea.top, kListArea.right - 14, kListArea.bottom};
    int y = kListArea.top + 5 - static_cast<int>(scroller_->Value());
    for (size_t i = 0; i < lines_.size(); ++i) {
        // A score shares its pilot's row.
        if (lines_[i].x == kScoreX) y -= LineHeight();
        menu_drawing::Text(r->Screen(), &r->scoresFont, kJustifyLeft, {lines_[i].x, y}, kWhite,
                           lines_[i].text, clip);
        y += LineHeight();
    }
    scroller_->Draw();
    return 1;
}
