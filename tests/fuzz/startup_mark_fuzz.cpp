// A StartupApproved value as any program may have stored it, read as the mark of
// the Run value and turned back on.
// Input: the value's bytes, then from the end: 32-bit program on 64-bit Windows
// (bit 0 of the last byte), the value's type (the byte before, modulo 12), the
// value present (bit 0 of the byte before that).
#include "fakes/recording.h"
#include "folders/startup_approval.h"

#include <cassert>
#include <fuzzer/FuzzedDataProvider.h>

using namespace lumivane;
using namespace lumivane::startup_approval;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    fakes::CallLog log;
    fakes::FakeRegistry reg(log);
    reg.is32BitOn64 = input.ConsumeBool();
    const auto type = input.ConsumeIntegralInRange<unsigned>(0, 11);
    const bool present = input.ConsumeBool();
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const auto root = platform::RegistryRoot::LocalMachine;
    const auto native = platform::RegistryView::Native;
    const std::string mine = reg.is32BitOn64 ? kApprovedRun32Subkey : kApprovedRunSubkey;
    const std::string other = reg.is32BitOn64 ? kApprovedRunSubkey : kApprovedRun32Subkey;
    if (present) reg.putValue(root, mine, "Lumivane", type, bytes, native);
    // The other layout's mark says off: it must never count, nor change.
    const std::string otherMark = std::string("\x03\0\0\0", 4) + std::string(8, '\x5A');
    reg.putValue(root, other, "Lumivane", platform::kRegBinary, otherMark, native);

    const bool off = runValueMarkedDisabled(reg, root, "Lumivane");
    assert(off == (present && marksDisabled(type, bytes)) && "read through the registry, the mark says other");
    assert((!off || (type == platform::kRegBinary && bytes.size() == kApprovalMarkSize &&
                     (static_cast<unsigned char>(bytes[0]) & 1))) &&
           "a value Windows never writes reads as off");
    if (!bytes.empty()) {
        std::string sameFlag = bytes;
        for (size_t i = 1; i < sameFlag.size(); ++i) sameFlag[i] = static_cast<char>(~sameFlag[i]);
        assert(marksDisabled(type, sameFlag) == marksDisabled(type, bytes) &&
               "more than the flag's first byte decides");
    }

    log.calls.clear();
    const long status = clearDisabledMark(reg, root, "Lumivane");
    assert(status == platform::kRegSuccess && "turning on failed in a registry that refuses nothing");
    const bool wrote = log.contains("regSetBinary");
    assert(wrote == off && "a mark was rewritten that did not say off, or one that did was left");
    const auto* now = reg.find(root, mine, "Lumivane", native);
    assert((present || wrote) == (now != nullptr) && "a mark appeared from nothing");
    if (now) assert(now->bytes == (wrote ? enabledMark() : bytes) && "the mark reads as other bytes");
    assert(!runValueMarkedDisabled(reg, root, "Lumivane") && "still off after turning on");
    assert(reg.find(root, other, "Lumivane", native)->bytes == otherMark && "the other layout's mark changed");
    return 0;
}
