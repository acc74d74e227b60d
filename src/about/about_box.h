#pragma once
#include <string>

namespace lumivane::about {

// The About box as the hub reaches it: shown modally, with no owner, counting
// its opening in the hub's counter; returns when the box is closed.
class AboutBox {
public:
    virtual ~AboutBox() = default;
    virtual void show(int& aboutCount) = 0;
};

// The opening the secret label appears on.
inline constexpr int kSecretOpening = 8;

// Counts this opening of the About box; true when the secret label shows.
bool countOpening(int& aboutCount);

// The mail link's target and the web link's command line.
std::string mailLinkTarget();
std::string webLinkCommand();

} // namespace lumivane::about
