#pragma once
// The collision detector of the game: a uniform 32 × 32 grid over the local area of a
// world cell (the world box, −30 to 30 km in x and z, so a square is 1.875 km wide). A node
// is filed once, in the square of its local position, whatever its size and its height;
// the pass tests every pair of live nodes that share a square and stand in the same world
// cell (at least one of them moving), every moving node against the still nodes of the
// eight squares round its own, and every moving node at 12 km or lower against the
// ground. A pass costs about the sum over the squares of the square's count squared.
//
// Handlers may mark nodes removed (never delete them) and may file and remove nodes while
// the pass runs: removed nodes are skipped for the rest of the pass, nodes taken out are
// never visited again, and nodes filed during the pass are visited when their square's
// turn comes (or later in the square being walked).
#include <cstdint>
#include <vector>

#include "world/FSBox.h"
#include "world/FSCollisionDetector.h"

class CFSGridCollisionDetector : public MFSCollisionDetector {
public:
    static constexpr int kSide = 32;
    static constexpr int kSquares = kSide * kSide;
    // Nodes higher than this (16.16 km) get no ground test.
    static constexpr int32_t kGroundTestHeight = 12 << 16;

    // area: the box the squares divide (the scene's world box); only x and z count.
    explicit CFSGridCollisionDetector(const FSBox& area);
    ~CFSGridCollisionDetector() override;

    // Appends the node to the list of the square of its position; a node outside the area
    // is not filed.
    void Insert(MFSSceneNode* node) override;
    // Shows "Should not be called!" (caption "Error").
    void Unused() override;
    void Detect() override;
    // Takes every occurrence of the node out of the square of its position, or, when it
    // is not there (it moved since it was filed), out of whichever square holds it.
    void Remove(MFSSceneNode* node) override;
    int32_t GetTestCount() const override { return testCount_; }

    // The square of a local position: column × 32 + row, with column = the integer part
    // of (x − min x) × 32 / (max x − min x) and row the same in z; −1 when either falls
    // outside 0..31. Height and world cell play no part.
    int SquareOf(const FSFixedVector& position) const;
    // The nodes filed in a square (null entries are nodes taken out during a pass).
    const std::vector<MFSSceneNode*>& Square(int index) const { return squares_[index]; }
    // How many times node is filed in all the squares together.
    int CountOf(const MFSSceneNode* node) const;
    const FSBox& Area() const { return area_; }

private:
    void DetectInSquare(int index);
    // The i-th node of the square, a moving one, against the still nodes round the square.
    void DetectAround(int index, size_t i);
    void TakeOut(std::vector<MFSSceneNode*>& square, MFSSceneNode* node, bool& found);

    std::vector<std::vector<MFSSceneNode*>> squares_;
    FSBox area_;
    int32_t testCount_ = 0;
    bool detecting_ = false;       // a pass is running: take nodes out by clearing their entries
    bool entriesCleared_ = false;  // some entries were cleared and wait for the pass's end
};
