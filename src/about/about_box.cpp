#include "about/about_box.h"

#include "about/about_links.h"

#include <limits>

namespace lumivane::about {

bool countOpening(std::int16_t& aboutCount) {
    // The counter stops at its largest value rather than wrapping round to
    // negative openings.
    if (aboutCount < std::numeric_limits<std::int16_t>::max()) ++aboutCount;
    return aboutCount == kSecretOpening;
}

std::string mailLinkTarget() {
    return std::string("mailto: ") + kMailAddress + "?Subject=Lumivane";
}

std::string webLinkCommand() {
    return std::string("explorer ") + kWebPageAddress;
}

} // namespace lumivane::about
