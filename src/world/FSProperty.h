#pragma once
// Base of everything a scene node can carry and own: its moveable object (the physics that
// drives it: aircraft, fragment, oscillator, all deriving MFSMoveableObject from this),
// its second attachment and its game property. The node deletes what it carries, through
// this virtual destructor. Nothing else is common to them; a node hands them back typed
// through GetMoveableAs<T>() / GetPropertyAs<T>() (MFSSceneNode).
class MFSProperty {
public:
    virtual ~MFSProperty() = default;

protected:
    MFSProperty() = default;
    MFSProperty(const MFSProperty&) = default;
    MFSProperty& operator=(const MFSProperty&) = default;
};
