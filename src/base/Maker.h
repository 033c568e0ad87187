// Who makes Lumivera and where to reach them: the texts of the copyright caption, the banners and
// the information and web links.
#pragma once

namespace Maker {

inline constexpr char16_t kProductName[] = u"Lumivera";
inline constexpr char16_t kCopyrightNotice[] = u"© 2026 Lumivera Software";
inline constexpr char16_t kWebAddress[] = u"www.lumivera.it";
inline constexpr char16_t kWebSite[] = u"https://www.lumivera.it";
inline constexpr char16_t kInfoAddress[] = u"info@lumivera.it";

} // namespace Maker
