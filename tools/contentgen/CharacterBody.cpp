// Builds a character's body and arms from box-shaped limbs in a given pose (feet at y = 0, facing
// -z).
#include "CharacterBody.h"

#include <algorithm>
#include <cmath>

#include "SkinLayout.h"

namespace {

const P3 X_AXIS{1, 0, 0};

BoxUv regionUv(SkinRegion sides) {
    return uniformUv(skinUv(sides));
}

// A box whose faces take their pixels from the given regions: front is the
// -z face, the one a viewer in front of the character sees.
BoxUv frontBackUv(SkinRegion front, SkinRegion back, SkinRegion sides) {
    BoxUv uv = uniformUv(skinUv(sides));
    uv[NEG_Z] = skinUv(front);
    uv[POS_Z] = skinUv(back);
    return uv;
}

// The elbow of a two-segment limb from shoulder to hand, bent towards hint.
P3 elbowFor(P3 shoulder, P3& hand, float segment, P3 hint) {
    P3 d = hand - shoulder;
    float len = length(d);
    const float reach = segment * 1.96f;
    if (len > reach) {  // out of reach: the hand stops short on the same line
        hand = shoulder + d * (reach / len);
        d = hand - shoulder;
        len = reach;
    }
    const P3 dir = normalized(d);
    const P3 bend = normalized(hint - dir * dot(hint, dir));
    const float half = len * 0.5f;
    const float rise = std::sqrt(std::max(segment * segment - half * half, 0.0f));
    return shoulder + dir * half + bend * rise;
}

void addArm(MeshPart& part, const BodyShape& s, P3 shoulder, P3 hand, float side) {
    const P3 hint{side * 0.8f, -0.4f, 0.9f};  // elbows out, down and back
    const P3 elbow = elbowFor(shoulder, hand, s.armLength, hint);
    const BoxUv sleeve = regionUv(SLEEVE);
    part.beam(shoulder, elbow, X_AXIS, s.armWidth, s.armWidth, sleeve);
    part.beam(elbow, hand, X_AXIS, s.armWidth * 0.9f, s.armWidth * 0.9f, sleeve);
    const P3 dir = normalized(hand - elbow);
    part.beam(hand - dir * 0.1f, hand + dir * 0.45f, X_AXIS, s.armWidth * 1.1f, s.armWidth * 0.9f,
              regionUv(GLOVE));
}

P3 shoulderJoint(const BodyShape& s, float side) {
    return {side * s.shoulderSpread, s.torsoTop - s.armWidth * 0.5f, 0.0f};
}

void addLeg(MeshPart& part, const BodyShape& s, const BodyPose& pose, int leg) {
    const float side = leg == 0 ? -1.0f : 1.0f;
    const P3 hip{side * s.hipSpread, s.hipHeight + pose.bob, 0.0f};
    const float upper = s.hipHeight * 0.5f, lower = s.hipHeight * 0.5f - 0.35f;
    auto swing = [&](float pitch) {
        return rotateZ(rotateX(P3{0, -1, 0}, pitch), side * pose.hipRoll[leg]);
    };
    const P3 knee = hip + swing(pose.hipPitch[leg]) * upper;
    const P3 ankle = knee + swing(pose.hipPitch[leg] - pose.knee[leg]) * lower;
    const BoxUv legUv = regionUv(LEG);
    part.beam(hip + P3{0, 0.2f, 0}, knee, X_AXIS, s.legWidth, s.legWidth, legUv);
    part.beam(knee, ankle, X_AXIS, s.legWidth * 0.9f, s.legWidth * 0.9f, legUv);
    // The boot: a block under the ankle, toes forward (-z).
    const float footPitch = pose.hipPitch[leg] - pose.knee[leg];
    Corners c = MeshPart::boxCorners({-s.legWidth * 0.55f, -0.35f, -0.9f},
                                     {s.legWidth * 0.55f, 0.15f, 0.35f});
    for (P3& p : c) p = rotateZ(rotateX(p, footPitch * 0.5f), side * pose.hipRoll[leg]) + ankle;
    part.hexahedron(c, frontBackUv(BOOT, BOOT, BOOT));
}

void addUpperBody(MeshPart& part, const BodyShape& s, const BodyPose& pose) {
    const float hw = s.torsoWidth * 0.5f, hd = s.torsoDepth * 0.5f;
    const float base = s.hipHeight + pose.bob;
    part.box({-hw * 0.9f, base - 0.3f, -hd * 0.9f}, {hw * 0.9f, base + 0.35f, hd * 0.9f},
             regionUv(BELT));
    MeshPart upper("upper", "");
    upper.box({-hw, base + 0.35f, -hd}, {hw, s.torsoTop + pose.bob, hd},
              frontBackUv(CHEST, BACK, TORSO_SIDE));
    const float top = s.torsoTop + pose.bob;
    upper.box({-0.3f, top, -0.3f}, {0.3f, top + 0.25f, 0.3f}, regionUv(TORSO_SIDE));  // neck
    const float h = s.headSize * 0.5f;
    upper.box({-h, top + 0.2f, -h - 0.1f}, {h, top + 0.2f + s.headSize, h - 0.1f},
              frontBackUv(FACE, HEAD, HEAD));
    for (float side : {-1.0f, 1.0f}) {  // shoulder pads
        const float x = side * (hw + 0.05f);
        upper.box({std::min(x, x + side * 0.55f) - 0.25f, top - 0.55f, -hd - 0.1f},
                  {std::max(x, x + side * 0.55f) + 0.25f, top + 0.15f, hd + 0.1f}, regionUv(PAD));
    }
    const P3 pivot{0, base, 0};
    upper.transform([&](P3 p) { return rotateXAbout(p, pivot, -pose.lean); });
    part.append(upper);
}

}  // namespace

ArmPose restingArms(const BodyShape& s) {
    const float x = s.shoulderSpread + 0.25f;
    const float y = s.torsoTop - s.armLength * 1.9f;
    return {{-x, y, -0.1f}, {x, y, -0.1f}};
}

MeshPart buildArms(const BodyShape& s, const ArmPose& arms) {
    MeshPart part("arms", "skin");
    addArm(part, s, shoulderJoint(s, -1.0f), arms.left, -1.0f);
    addArm(part, s, shoulderJoint(s, 1.0f), arms.right, 1.0f);
    return part;
}

MeshPart buildBody(const BodyShape& s, const BodyPose& pose, bool withArms, const ArmPose& arms) {
    MeshPart part("body", "skin");
    addLeg(part, s, pose, 0);
    addLeg(part, s, pose, 1);
    addUpperBody(part, s, pose);
    if (withArms) {
        MeshPart a = buildArms(s, arms);
        a.transform([&](P3 p) { return p + P3{0, pose.bob, 0}; });
        part.append(a);
    }
    if (pose.fall != 0.0f) {
        // Tip over backwards about the rearmost point on the ground, so the
        // figure comes to rest on its back without sinking into the floor.
        float back = 0.0f;
        for (P3 p : part.positions()) back = std::max(back, p.z);
        const P3 pivot{0, 0, back};
        part.transform([&](P3 p) { return rotateXAbout(p, pivot, pose.fall); });
    }
    return part;
}
