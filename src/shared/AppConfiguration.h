// The extension's build-time constants.
#pragma once

#include <string_view>

namespace tamsa {

// The host application's reverse-DNS identifier.
inline constexpr std::string_view appIdentifier = "com.tamsaledger.app";
// The app group whose user-defaults suite the host application and the extension share.
inline constexpr std::string_view appGroupIdentifier = "group.com.tamsaledger.app";
// The custom URL scheme of the application's deep links.
inline constexpr std::string_view deepLinkScheme = "tamsaledger";
// The host part of the add-transaction deep link.
inline constexpr std::string_view deepLinkHost = "app";

}  // namespace tamsa
