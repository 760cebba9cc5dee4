#include "game/CSPRoute.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "app/FSApplicationContext.h"
#include "game/CSPObstacle.h"
#include "platform/FSClock.h"
#include "resources/FSKeywordReader.h"
#include "world/FSTerrainHolder.h"

namespace {

std::string RoutesArchive(const std::string& archivePath) {
    return archivePath.empty() ? MakeDataPath("data\\routes.zip") : archivePath;
}

std::string RouteMember(int index) {
    return "Route" + std::to_string(index + 1) + ".txt";
}

// The name in a description line: after its first double quote up to the next one, or
// to the end of the line (less the CR of a CR LF).
std::string QuotedName(std::string_view line, size_t quote) {
    const size_t start = quote + 1;
    size_t end = line.find('"', start);
    if (end == std::string_view::npos) {
        end = line.size();
        while (end > start && line[end - 1] == '\r')
            --end;
    }
    return std::string(line.substr(start, end - start));
}

const char* SwappedColour(const std::string& texture) {
    if (texture == "red.png") return "blue.png";
    if (texture == "blue.png") return "red.png";
    return nullptr;
}

int ClampedSum(int64_t sum) {
    return static_cast<int>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

}  // namespace

// Not part of the scene: it only stands in the listed gates' dependents lists. A gate
// that is merely removed (blown up) stays listed until the game reports the contact.
class CSPRoute::GateWatcher : public MFSSceneNode {
public:
    explicit GateWatcher(CSPRoute& route) : route_(route) {}
    void OnOwnerRemoved(MFSSceneNode& owner) override {
        if (owner.IsBeingDeleted()) route_.ForgetObstacle(&owner);
    }
    void SetPosition(const FSFixedVector& /*position*/) override {}
    void Scale(const FSFixedVector& /*factors*/) override {}
    void Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) override {}
    void Draw(CFSScene& /*scene*/) override {}

private:
    CSPRoute& route_;
};

CSPRoute::CSPRoute(CFSApplicationContext& context, int index, const std::string& archivePath)
    : context_(context),
      terrainArchive_(MakeDataPath("data\\terrains.zip")),
      watcher_(std::make_unique<GateWatcher>(*this)) {
    text_ = ReadArchiveText(RoutesArchive(archivePath), RouteMember(index));
}

CSPRoute::~CSPRoute() {
    if (ownsTerrain_) context_.terrain.reset();
    glDisable(GL_FOG);
}

bool CSPRoute::HasText() const {
    return static_cast<bool>(text_);
}

void CSPRoute::LoadRoute() {
    if (!text_) return;
    // The loading screen draws on a thread of its own meanwhile: no line waits for it.
    ForEachWordLine(TextOf(text_), [this](std::string_view line) { ParseRouteLine(std::string(line)); });
}

float CSPRoute::GetAircraftFactor(int aircraft) const {
    if (aircraft < 0 || aircraft >= kFactorCount) return 1.0f;
    return aircraftFactor_[aircraft];
}

bool CSPRoute::IsInsideGateBox() const {
    if (landing_) return true;
    const MFSSceneNode* aircraft = context_.playerAircraft;
    if (!aircraft) return false;
    const FSFixedVector& p = aircraft->GetPosition();
    for (int axis = 0; axis < 3; ++axis) {
        if (!(p[axis] > gateBoxMin_[axis] && p[axis] < gateBoxMax_[axis])) return false;
    }
    return true;
}

std::string CSPRoute::GetRouteName(int index, const std::string& archivePath) {
    const FSMemoryBlock text = ReadArchiveText(RoutesArchive(archivePath), RouteMember(index));
    if (!text) {
        std::fprintf(stderr, "buffer is NULL! (File not found)\n");
        return {};
    }
    std::string name;
    bool found = false;
    ForEachWordLine(TextOf(text), [&](std::string_view line) {
        if (found) return;
        size_t cursor = 0;
        if (KindOfFirstWord(NextWord(line, cursor)) != FSWordLineKind::Description) return;
        const size_t quote = line.find('"');
        if (quote == std::string_view::npos) return;
        name = QuotedName(line, quote);
        found = true;
    });
    return name;
}

std::string CSPRoute::GetRouteDescription(int index, const std::string& archivePath) {
    return ReadDescriptionText(RoutesArchive(archivePath), RouteMember(index));
}

// ---- The gate list ----

void CSPRoute::OfferObstacle(CSPObstacle* node, int points) {
    if (!node) return;
    if (!obstacles_.empty() && node->GetCell() != gateCell_) return;
    const FSFixedVector& p = node->GetPosition();
    if (obstacles_.empty()) {
        gateBoxMin_ = gateBoxMax_ = p;
        gateCell_ = node->GetCell();
    } else {
        for (int axis = 0; axis < 3; ++axis) {
            gateBoxMin_[axis] = std::min(gateBoxMin_[axis], p[axis]);
            gateBoxMax_[axis] = std::max(gateBoxMax_[axis], p[axis]);
        }
    }
    // The widening accumulates: every listed gate adds its margin again.
    for (int axis = 0; axis < 3; ++axis) {
        gateBoxMin_[axis] = ClampedSum(static_cast<int64_t>(gateBoxMin_[axis]) - kGateMargin);
        gateBoxMax_[axis] = ClampedSum(static_cast<int64_t>(gateBoxMax_[axis]) + kGateMargin);
        gateCentre_[axis] =
            static_cast<FSFixed>((static_cast<int64_t>(gateBoxMin_[axis]) + gateBoxMax_[axis]) / 2);
    }
    obstacles_.push_back({node, points, true, node->GetCell(), p});
    totalPoints_ = ClampedSum(static_cast<int64_t>(totalPoints_) + points);
    node->AddDependent(watcher_.get());
}

void CSPRoute::ForgetObstacle(const MFSSceneNode* node) {
    for (ObstacleEntry& entry : obstacles_) {
        if (entry.node == node) entry.node = nullptr;
    }
}

bool CSPRoute::UpdateObstacleScore(MFSSceneNode* node) {
    started_ = true;
    const bool clean = node && !node->IsRemoved();
    int64_t score = 0;
    int divisor = 1;
    for (ObstacleEntry& entry : obstacles_) {
        if (node && entry.node == node) {
            if (entry.pending) {
                if (const char* swapped = SwappedColour(entry.node->TextureName()))
                    entry.node->SetTextureName(swapped);
                entry.pending = false;
            }
            if (!clean) entry.node = nullptr;
        }
        const bool taken = entry.node && !entry.pending;
        if (taken)
            score += entry.points / divisor;
        else
            ++divisor;
    }
    score_ = ClampedSum(score);
    return clean;
}

void CSPRoute::AdvanceTarget(MFSSceneNode* node) {
    const int count = ObstacleCount();
    if (targetIndex_ >= count) return;
    const CSPObstacle* target = obstacles_[targetIndex_].node;
    if (target && target != node) return;
    do {
        ++targetIndex_;
    } while (targetIndex_ < count && !(obstacles_[targetIndex_].node && obstacles_[targetIndex_].pending));
}

int CSPRoute::ObstacleCount() const {
    return static_cast<int>(obstacles_.size());
}

int CSPRoute::DealtWith() const {
    return static_cast<int>(std::count_if(obstacles_.begin(), obstacles_.end(),
                                          [](const ObstacleEntry& e) { return !e.pending; }));
}

CSPObstacle* CSPRoute::CurrentTarget() const {
    return targetIndex_ < ObstacleCount() ? obstacles_[targetIndex_].node : nullptr;
}

int CSPRoute::Score() const {
    return score_;
}

int CSPRoute::TotalPoints() const {
    return totalPoints_;
}

bool CSPRoute::Landing() const {
    return landing_;
}

bool CSPRoute::Timed() const {
    return timed_;
}

const FSVector& CSPRoute::Wind() const {
    return wind_;
}

CSPRunway* CSPRoute::Runway() const {
    return runway_;
}

std::vector<std::pair<FSCell, FSFixedVector>> CSPRoute::ObstaclePositions() const {
    std::vector<std::pair<FSCell, FSFixedVector>> positions;
    positions.reserve(obstacles_.size());
    for (const ObstacleEntry& entry : obstacles_)
        positions.emplace_back(entry.cell, entry.position);
    return positions;
}

const CFSTerrainStorage* CSPRoute::Terrain() const {
    const CFSTerrainHolder* holder = context_.terrain.get();
    return holder && holder->IsLoaded() ? holder->model.get() : nullptr;
}
