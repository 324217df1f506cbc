#pragma once
// Who made Clarivo: shown by "About" and opened in the browser when the window closes.
inline constexpr const wchar_t* MakerWebAddress = L"https://www.clarivo.app";
inline constexpr const wchar_t* AuthorEmail = L"author@clarivo.app";
