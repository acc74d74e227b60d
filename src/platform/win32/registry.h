#pragma once
#include "platform/registry.h"

namespace lumivane::win32 {

// The registry through the W functions; key paths and names are UTF-8.
class Win32Registry final : public platform::Registry {
public:
    // The registry as this program sees it.
    Win32Registry();
    // The registry as a 32-bit program sees it on this 64-bit Windows: its own
    // calls reach the 32-bit view. Lets a 64-bit build check that layout.
    static Win32Registry As32BitProgram();

    std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root, const std::string& subkey) override;
    long setString(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName,
                   const std::string& data) override;
    long deleteValue(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName) override;
    bool ownViewIs32BitOn64() const override { return ownIs32BitOn64_; }
    platform::ValueQuery queryValue(platform::RegistryRoot root, const std::string& subkey,
                                    const std::string& valueName, std::size_t size,
                                    platform::RegistryView view) override;
    long setBinary(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName,
                   std::string_view data, platform::RegistryView view) override;
    std::unique_ptr<platform::KeyWatch> watch(const std::vector<platform::KeyPlace>& places) override;

private:
    Win32Registry(bool ownIs32BitOn64, unsigned long ownViewAccess)
        : ownIs32BitOn64_(ownIs32BitOn64), ownViewAccess_(ownViewAccess) {}
    // The access flag that picks the view, added to every call's access.
    unsigned long viewAccess(platform::RegistryView view) const;

    bool ownIs32BitOn64_;
    unsigned long ownViewAccess_;  // 0 for the program's own view
};

} // namespace lumivane::win32
