#include "about/about_box.h"

#include "about/about_links.h"

#include <limits>

namespace lumivane::about {

bool countOpening(int& aboutCount) {
    // The counter stops at its largest value rather than wrapping round to
    // negative openings.
    if (aboutCount < std::numeric_limits<int>::max()) ++aboutCount;
    return aboutCount == kSecretOpening;
}

std::string mailLinkTarget() {
    return std::string("mailto: ") + kMailAddress + "?Subject=Lumivane";
}

std::string webLinkCommand() {
    return std::string("explorer ") + kWebPageAddress;
}

} // namespace lumivane::about
