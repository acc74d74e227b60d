#pragma once

namespace lumivane::platform {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // Claims this session's single-instance marker; true when another copy of
    // the program already holds it. The claim lasts until the process ends.
    virtual bool anotherInstanceRunning() = 0;
};

} // namespace lumivane::platform
