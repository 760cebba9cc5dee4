#pragma once
// A state number with leave/enter hooks: the engine and the menu are both one.

class MFSFiniteStateMachine {
public:
    virtual ~MFSFiniteStateMachine() = default;

    // Moves to newState. -1 and the current state are ignored and call no hook. The
    // leave hook runs only once a previous state exists, so the first state ever
    // entered is never left through it.
    void SetState(int newState);
    int State() const { return state_; }
    int PreviousState() const { return previous_; }

protected:
    virtual void OnLeaveState(int /*oldState*/) {}
    virtual void OnEnterState(int /*newState*/, int /*oldState*/) {}

private:
    int state_ = -1;
    int previous_ = -1;
};
