#pragma once
#include "platform/instance.h"
#include "platform/win32/unique.h"

namespace lumivane::win32 {

class NamedMutexInstanceLock final : public platform::InstanceLock {
public:
    explicit NamedMutexInstanceLock(const wchar_t* name = L"Local\\Lumivane.SingleInstance") : name_(name) {}
    bool anotherInstanceRunning() override;

private:
    const wchar_t* name_;
    UniqueHandle mutex_;
};

} // namespace lumivane::win32
