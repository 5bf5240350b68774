// Builds a character's body and arms from box-shaped limbs in a given pose (feet at y = 0, facing
// -z).
#pragma once

#include "Geometry.h"
#include "MeshPart.h"

// Proportions of one character, in world units.
struct BodyShape {
    float hipHeight;  // hip joints above the ground
    float hipSpread;  // hip joints' distance from the middle, x
    float legWidth;
    float torsoTop;  // shoulders' height
    float torsoWidth;
    float torsoDepth;
    float headSize;        // edge of the head cube
    float shoulderSpread;  // shoulder joints' distance from the middle, x
    float armLength;       // upper arm and forearm each
    float armWidth;
};

// Joint angles in degrees. Positive hip pitch swings a leg forward (-z),
// positive roll swings it outwards (+x for the right leg, -x for the left),
// knee bends the lower leg backwards. Index 0 is the left leg, 1 the right.
struct BodyPose {
    float hipPitch[2] = {0, 0};
    float hipRoll[2] = {0, 0};
    float knee[2] = {0, 0};
    float bob = 0;   // the whole upper body up or down, units
    float lean = 0;  // torso pitch forward, degrees
    float fall = 0;  // the whole figure tipped backwards about its heels, degrees
};

// Hand targets in the creature's frame (the arms reach towards them).
struct ArmPose {
    P3 left, right;
};

// Arms hanging down beside the body.
ArmPose restingArms(const BodyShape& s);

// The body: legs, hips, torso, head and shoulder pads, textured from the skin
// layout. withArms adds arms reaching for `arms` (the death model needs them).
MeshPart buildBody(const BodyShape& s, const BodyPose& pose, bool withArms, const ArmPose& arms);
// Both arms with gloves reaching for the hand targets.
MeshPart buildArms(const BodyShape& s, const ArmPose& arms);
