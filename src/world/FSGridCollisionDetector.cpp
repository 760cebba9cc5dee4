#include "world/FSGridCollisionDetector.h"

#include <algorithm>

#include "platform/FSDisplay.h"
#include "world/FSSceneNode.h"

namespace {

// The part of the axis from lo to hi in which value lies, as 0..side−1; −1 outside. Exact
// integer division, so the squares cover the area exactly: hi itself lies outside.
int Slice(FSFixed value, FSFixed lo, FSFixed hi, int side) {
    const int64_t extent = static_cast<int64_t>(hi) - lo;
    const int64_t offset = static_cast<int64_t>(value) - lo;
    if (extent <= 0 || offset < 0) return -1;
    const int64_t slice = offset * side / extent;
    return slice < side ? static_cast<int>(slice) : -1;
}

}  // namespace

CFSGridCollisionDetector::CFSGridCollisionDetector(const FSBox& area)
    : squares_(static_cast<size_t>(kSquares)), area_(area) {}

CFSGridCollisionDetector::~CFSGridCollisionDetector() = default;

int CFSGridCollisionDetector::SquareOf(const FSFixedVector& position) const {
    const int column = Slice(position.x, area_.min.x, area_.max.x, kSide);
    const int row = Slice(position.z, area_.min.z, area_.max.z, kSide);
    if (column < 0 || row < 0) return -1;
    return column * kSide + row;
}

void CFSGridCollisionDetector::Insert(MFSSceneNode* node) {
    if (!node) return;
    const int index = SquareOf(node->GetPosition());
    if (index >= 0) squares_[static_cast<size_t>(index)].push_back(node);
}

void CFSGridCollisionDetector::Unused() {
    platform::ShowMessageBox("Error", "Should not be called!");
}

void CFSGridCollisionDetector::TakeOut(std::vector<MFSSceneNode*>& square, MFSSceneNode* node, bool& found) {
    if (std::find(square.begin(), square.end(), node) == square.end()) return;
    found = true;
    if (detecting_) {
        // The pass walks the lists by index: keep them in place and tidy up at its end.
        std::replace(square.begin(), square.end(), node, static_cast<MFSSceneNode*>(nullptr));
        entriesCleared_ = true;
    } else {
        square.erase(std::remove(square.begin(), square.end(), node), square.end());
    }
}

void CFSGridCollisionDetector::Remove(MFSSceneNode* node) {
    if (!node) return;
    bool found = false;
    const int index = SquareOf(node->GetPosition());
    if (index >= 0) TakeOut(squares_[static_cast<size_t>(index)], node, found);
    // A node moved since it was filed must not stay behind as a dangling entry.
    if (found) return;
    for (std::vector<MFSSceneNode*>& square : squares_)
        TakeOut(square, node, found);
}

int CFSGridCollisionDetector::CountOf(const MFSSceneNode* node) const {
    int count = 0;
    for (const std::vector<MFSSceneNode*>& square : squares_)
        count += static_cast<int>(std::count(square.begin(), square.end(), node));
    return count;
}

void CFSGridCollisionDetector::Detect() {
    testCount_ = 0;
    detecting_ = true;
    for (int k = 0; k < kSquares; ++k)
        DetectInSquare(k);
    detecting_ = false;
    if (entriesCleared_) {
        for (std::vector<MFSSceneNode*>& square : squares_)
            square.erase(std::remove(square.begin(), square.end(), nullptr), square.end());
        entriesCleared_ = false;
    }
}

void CFSGridCollisionDetector::DetectAround(int index, size_t i) {
    // A node is filed by its centre only, so a mover crossing a gate whose centre lies just
    // over a square's edge would never be tested against it: a moving node also meets the
    // still nodes of the eight squares round its own. Moving pairs stay within a square.
    std::vector<MFSSceneNode*>& square = squares_[static_cast<size_t>(index)];
    MFSSceneNode* a = square[i];
    const int column = index / kSide, row = index % kSide;
    for (int c = std::max(column - 1, 0); c <= std::min(column + 1, kSide - 1); ++c) {
        for (int r = std::max(row - 1, 0); r <= std::min(row + 1, kSide - 1); ++r) {
            if (c == column && r == row) continue;
            const std::vector<MFSSceneNode*>& around = squares_[static_cast<size_t>(c * kSide + r)];
            for (size_t j = 0; j < around.size(); ++j) {
                if (square[i] != a || a->IsRemoved()) return;
                MFSSceneNode* b = around[j];
                if (!b || b->IsRemoved() || b->GetMoveableObject()) continue;
                if (handlers.mayCollide && !handlers.mayCollide(*b, *a)) continue;
                if (a->GetCell() != b->GetCell()) continue;
                ++testCount_;
                if (b->Intersects(*a) && handlers.collision) handlers.collision(*b, *a);
            }
        }
    }
}

void CFSGridCollisionDetector::DetectInSquare(int index) {
    std::vector<MFSSceneNode*>& square = squares_[static_cast<size_t>(index)];
    // By index throughout: handlers may file nodes into this very list.
    for (size_t i = 0; i < square.size(); ++i) {
        MFSSceneNode* a = square[i];
        if (!a || a->IsRemoved()) continue;
        for (size_t j = i + 1; j < square.size(); ++j) {
            // a may have been hit, removed or taken out by the last handler.
            if (square[i] != a || a->IsRemoved()) break;
            MFSSceneNode* b = square[j];
            if (!b || b->IsRemoved()) continue;
            if (handlers.mayCollide && !handlers.mayCollide(*a, *b)) continue;
            // Local positions of different cells only look close.
            if (a->GetCell() != b->GetCell()) continue;
            if (b->GetMoveableObject()) {
                ++testCount_;
                if (a->Intersects(*b) && handlers.collision) handlers.collision(*a, *b);
            } else if (a->GetMoveableObject()) {
                ++testCount_;
                if (b->Intersects(*a) && handlers.collision) handlers.collision(*b, *a);
            }
            // Two nodes that never move cannot meet.
        }

        if (square[i] != a || a->IsRemoved()) continue;
        if (a->GetMoveableObject()) DetectAround(index, i);
        if (square[i] != a || a->IsRemoved()) continue;
        if (handlers.touchesGround && a->GetMoveableObject() && a->GetPosition().y <= kGroundTestHeight) {
            ++testCount_;
            if (handlers.touchesGround(*a) && handlers.groundContact) handlers.groundContact(*a);
        }
    }
}
