// Timing wheel of 1000 one-millisecond slots plus a far list: updates every
// scheduled object at its own period, in time order, however frames split time.
#pragma once

#include "ScheduledObject.h"

// One entry of a slot list. A list head is a node without object.
struct SchedulerNode {
    ScheduledObject* object = nullptr;
    SchedulerNode* previous = nullptr;  // previous node or the list head
    SchedulerNode* next = nullptr;
};

class UpdateScheduler {
public:
    static constexpr int SLOTS = 1000;  // one per millisecond
    static constexpr int FAR_LIST = 0;

    UpdateScheduler() = default;
    UpdateScheduler(const UpdateScheduler&) = delete;
    UpdateScheduler& operator=(const UpdateScheduler&) = delete;
    ~UpdateScheduler();  // frees whatever nodes are left

    // Enters the object at its delay. False when the delay is negative or the
    // object is already scheduled.
    bool schedule(ScheduledObject* object);
    // False when the object is absent or not scheduled.
    bool unschedule(ScheduledObject* object);
    // Lets the milliseconds pass, updating every object due in them.
    void advance(int milliseconds);
    // Frees every node and detaches every object still listed.
    void clear();

    int current = 1;  // the slot the next millisecond processes, 1 .. 1000
    bool iterating = false;

    // Tests and tools: number of nodes in a list (0 far list, 1 .. 1000 slots).
    int listLength(int list) const;

private:
    void processSlot(int k);
    void processFarList();
    void requeue(SchedulerNode* node);
    void insertAtHead(int list, SchedulerNode* node);
    static void unlink(SchedulerNode* node);

    SchedulerNode heads_[SLOTS + 1];
    SchedulerNode* cursor_ = nullptr;  // node being processed during advance
    bool cursorStillValid_ = true;
};
