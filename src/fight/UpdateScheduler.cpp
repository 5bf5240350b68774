// The timing wheel: scheduling, re-queueing after each update and the far list.
#include "UpdateScheduler.h"

#include <cstdint>
#include <limits>
#include <new>

namespace {
// Far-list delays saturate so huge periods or delays cannot wrap negative. They
// are never below 0: current is at least 1 and the delay or period at least 999.
int32_t clampDelay(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}
}  // namespace

ScheduledObject::~ScheduledObject() {
    if (node != nullptr) scheduler_->unschedule(this);
}

void ScheduledObject::setUpdatePeriod(uint32_t milliseconds) {
    if (milliseconds != 0) period = milliseconds;
}

UpdateScheduler::~UpdateScheduler() {
    clear();
}

void UpdateScheduler::unlink(SchedulerNode* node) {
    node->previous->next = node->next;
    if (node->next != nullptr) node->next->previous = node->previous;
}

void UpdateScheduler::insertAtHead(int list, SchedulerNode* node) {
    SchedulerNode& head = heads_[list];
    node->previous = &head;
    node->next = head.next;
    if (head.next != nullptr) head.next->previous = node;
    head.next = node;
}

bool UpdateScheduler::schedule(ScheduledObject* object) {
    if (object == nullptr || object->node != nullptr) return false;
    const int32_t d = object->delay;
    if (d < 0) return false;
    int list;
    if (d < SLOTS - 1) {
        list = current + d;
        if (list > SLOTS) list -= SLOTS;
        object->delay = 0;
    } else {
        list = FAR_LIST;
        object->delay = clampDelay(int64_t(current) + d - SLOTS);
    }
    SchedulerNode* node = new (std::nothrow) SchedulerNode;
    if (node == nullptr) return false;  // GCOVR_EXCL_BR_LINE: an allocation failure
    node->object = object;
    object->slot = list;
    object->node = node;
    object->scheduler_ = this;
    insertAtHead(list, node);
    return true;
}

bool UpdateScheduler::unschedule(ScheduledObject* object) {
    if (object == nullptr || object->node == nullptr || object->scheduler_ != this) return false;
    SchedulerNode* node = object->node;
    if (iterating && node == cursor_) {
        cursorStillValid_ = false;
        cursor_ = node->next;
    }
    object->slot = -1;
    object->active = 0;
    unlink(node);
    delete node;
    object->node = nullptr;
    return true;
}

void UpdateScheduler::advance(int milliseconds) {
    iterating = true;
    int t = milliseconds;
    while (t > 0) {
        const int first = current;
        int last;
        if (first + t > SLOTS + 1) {
            last = SLOTS;
            t = first + t - (SLOTS + 1);
        } else {
            last = first + t - 1;
            t = 0;
        }
        for (int k = first; k <= last; ++k) {
            current = k + 1;
            processSlot(k);
        }
        if (last == SLOTS) {  // the wheel has turned
            current = 1;
            processFarList();
        }
    }
    iterating = false;
}

void UpdateScheduler::processSlot(int k) {
    cursor_ = heads_[k].next;
    while (cursor_ != nullptr) {
        SchedulerNode* node = cursor_;
        ScheduledObject* object = node->object;
        if (object->active == 0) {
            cursor_ = node->next;
            continue;
        }
        object->update();
        if (!cursorStillValid_) {
            // The object left the scheduler during its own update (it may be
            // gone entirely); the cursor already points at its successor.
            cursorStillValid_ = true;
            continue;
        }
        if (object->active == 0) {
            cursor_ = node->next;
            continue;
        }
        requeue(node);
    }
}

void UpdateScheduler::requeue(SchedulerNode* node) {
    ScheduledObject* object = node->object;
    const uint32_t p = object->period;
    int target;
    if (p >= uint32_t(SLOTS)) {
        object->delay = clampDelay(int64_t(current) + p - (SLOTS + 2));
        target = FAR_LIST;
    } else {
        target = int(p) + current - 1;
        if (target > SLOTS) target -= SLOTS;
    }
    object->slot = target;
    cursor_ = node->next;
    unlink(node);
    insertAtHead(target, node);
}

void UpdateScheduler::processFarList() {
    SchedulerNode* node = heads_[FAR_LIST].next;
    while (node != nullptr) {
        SchedulerNode* next = node->next;
        ScheduledObject* object = node->object;
        if (object->active != 0) {
            if (object->delay >= SLOTS) {
                object->delay -= SLOTS;
            } else {
                // 0 to 999 ms left: the slot that many after the first of the turn just begun.
                const int target = object->delay + 1;
                object->delay = 0;
                object->slot = target;
                unlink(node);
                insertAtHead(target, node);
            }
        }
        node = next;
    }
}

void UpdateScheduler::clear() {
    for (SchedulerNode& head : heads_) {
        SchedulerNode* node = head.next;
        while (node != nullptr) {
            SchedulerNode* next = node->next;
            node->object->node = nullptr;
            delete node;
            node = next;
        }
        head.next = nullptr;
    }
}

int UpdateScheduler::listLength(int list) const {
    if (list < 0 || list > SLOTS) return 0;
    int n = 0;
    for (const SchedulerNode* node = heads_[list].next; node != nullptr; node = node->next) ++n;
    return n;
}
