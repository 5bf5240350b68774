// Base of every world object: the fields the update scheduler works with.
#pragma once

#include <cstdint>

class UpdateScheduler;
struct SchedulerNode;

class ScheduledObject {
public:
    ScheduledObject() = default;
    ScheduledObject(const ScheduledObject&) = delete;
    ScheduledObject& operator=(const ScheduledObject&) = delete;
    // Leaves the scheduler it is still in, so a node never outlives its object.
    virtual ~ScheduledObject();
    // Called by the scheduler once per period.
    virtual void update() {}

    // 0 leaves the period unchanged.
    void setUpdatePeriod(uint32_t milliseconds);

    // Milliseconds until the first update; in the far list, the delay left
    // beyond the current turn of the wheel.
    int32_t delay = 0;
    // Set by the World after scheduling; the scheduler skips inactive objects.
    uint32_t active = 0;
    uint32_t period = 1;  // milliseconds between two updates
    // -1 not scheduled, 0 far list, 1 .. 1000 a wheel slot.
    int32_t slot = -1;
    SchedulerNode* node = nullptr;

private:
    friend class UpdateScheduler;
    // The scheduler holding node; meaningful while node is set.
    UpdateScheduler* scheduler_ = nullptr;
};
