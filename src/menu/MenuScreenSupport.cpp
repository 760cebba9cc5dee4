#include "menu/MenuScreenSupport.h"

#include "app/FSApplicationContext.h"
#include "game/CSPGameController.h"
#include "hud/FSFont.h"
#include "platform/FSClock.h"
#include "resources/FSArchive.h"

namespace menu_screens {

FSBitmapHandle LoadMenuPicture(const std::string& member) {
    return LoadBitmap(MakeDataPath("data\\menu.zip"), member);
}

CSPGameController* GameController() {
    CFSApplicationContext* context = GetApplicationContext();
    return dynamic_cast<CSPGameController*>(context->gameController.get());
}

FSPoint Stylus() {
    const FSFrameValues& frame = GetApplicationContext()->frame;
    return {frame.stylusX, frame.stylusY};
}

uint32_t Now() {
    return platform::TickCount();
}

namespace {

// One line (no line feed) broken at blanks, appended to out.
void WrapLine(const CFSFont& font, std::string_view line, int width, std::string& out) {
    std::string current;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string_view::npos) end = line.size();
        const std::string_view word = line.substr(start, end - start);
        const std::string joined = current.empty() ? std::string(word) : current + ' ' + std::string(word);
        if (!current.empty() && font.TextWidth(joined) > width) {
            out += current + '\n';
            current = std::string(word);
        } else {
            current = joined;
        }
        start = end + 1;
    }
    out += current;
}

}  // namespace

std::string WrapText(const CFSFont& font, const std::string& text, int width) {
    std::string plain;
    for (char c : text)
        if (c != '\r') plain += c;
    std::string out;
    size_t start = 0;
    while (true) {
        const size_t end = plain.find('\n', start);
        WrapLine(font, std::string_view(plain).substr(start, end == std::string::npos ? end : end - start),
                 width, out);
        if (end == std::string::npos) break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

std::string JoinProse(const std::string& text) {
    std::string joined;
    bool lineStart = true;  // the blanks that open a line go
    for (char c : text) {
        if (c == '\r' || (lineStart && c == ' ')) continue;
        lineStart = c == '\n';
        if (c != '\n') {
            joined += c;
            continue;
        }
        const size_t last = joined.find_last_not_of(' ');
        const bool sentenceEnds = last == std::string::npos || joined[last] == '\n' ||
                                  std::string_view(".!?\"").find(joined[last]) != std::string_view::npos;
        joined += sentenceEnds ? '\n' : ' ';
    }
    return joined;
}

}  // namespace menu_screens
