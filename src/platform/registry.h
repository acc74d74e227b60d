#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The registry as the program reaches it: one interface for every read, write
// and watch, and the reading of a text value over it.
namespace lumivane::platform {

// Root keys, with their Win32 handle values.
enum class RegistryRoot : std::uint32_t { LocalMachine = 0x80000002u, CurrentUser = 0x80000001u };

// Value types and status codes with their Win32 values.
inline constexpr unsigned kRegSz = 1;
inline constexpr unsigned kRegExpandSz = 2;
inline constexpr unsigned kRegBinary = 3;
inline constexpr unsigned kRegDword = 4;
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegAccessDenied = 5;
inline constexpr long kRegMoreData = 234;

// Which of the registry's views a call reaches. They differ only for a 32-bit
// program on 64-bit Windows, whose own calls land in the 32-bit view.
enum class RegistryView {
    Own,     // where the program's plain calls land
    Native,  // the system's own view: the 64-bit one on 64-bit Windows
};

struct ValueQuery {
    long status = kRegFileNotFound;
    unsigned type = 0;
    std::size_t size = 0;  // in bytes
    std::string bytes;     // the raw data; text types are UTF-16LE
};

// A key to watch for changes.
struct KeyPlace {
    RegistryRoot root;
    std::string subkey;
    RegistryView view = RegistryView::Own;
};

// Tells whether anything changed in the watched keys since the watch began.
// Asking costs no registry call, so it may be asked at every menu opening.
class KeyWatch {
public:
    virtual ~KeyWatch() = default;
    // Once true, true for good: a new watch starts afresh.
    virtual bool changed() = 0;
};

class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // The value's type and size, without its data.
    virtual ValueQuery queryTypeAndSize(const std::string& valueName) = 0;
    // The value's data read into a buffer of exactly `size` bytes.
    virtual ValueQuery queryData(const std::string& valueName, std::size_t size) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // The subkey opened for reading, or nothing when it cannot be opened. The
    // key is closed when the object goes.
    virtual std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& subkey) = 0;
    // Writes a REG_SZ value, creating the subkey when it is missing; returns the
    // system's status code.
    virtual long setString(RegistryRoot root, const std::string& subkey, const std::string& valueName,
                           const std::string& data) = 0;
    // Deletes the value; returns the system's status code.
    virtual long deleteValue(RegistryRoot root, const std::string& subkey, const std::string& valueName) = 0;

    // True when the program's own view is the 32-bit view of 64-bit Windows.
    virtual bool ownViewIs32BitOn64() const = 0;
    // A value's type and data in one call, into a buffer of `size` bytes; a
    // larger value answers kRegMoreData with its real size and no data.
    virtual ValueQuery queryValue(RegistryRoot root, const std::string& subkey, const std::string& valueName,
                                  std::size_t size, RegistryView view) = 0;
    // Writes a REG_BINARY value, creating the subkey when it is missing;
    // returns the system's status code.
    virtual long setBinary(RegistryRoot root, const std::string& subkey, const std::string& valueName,
                           std::string_view data, RegistryView view) = 0;

    // Starts watching the keys for new, changed or deleted values and
    // subkeys; a missing key through its nearest existing parent, for a new or
    // deleted subkey of that parent only.
    virtual std::unique_ptr<KeyWatch> watch(const std::vector<KeyPlace>& places) = 0;
};

// The text up to its first NUL, or all of it when it holds none.
std::string stripNul(std::string_view text);
// Type and size first, then the data into a buffer of exactly that size. Only
// REG_SZ counts: a missing, unreadable or other-typed value gives "".
std::string queryStringValue(RegistryKey& key, const std::string& valueName);
// "" when the subkey cannot be opened.
std::string stringValue(Registry& registry, RegistryRoot root, const std::string& subkey,
                        const std::string& valueName);

} // namespace lumivane::platform
