#pragma once
// The maker's pages and the program's version, as the About dialog and the window's banners
// show them: routines of the journal store, kept apart from the index routines.

#include <string>

namespace kl {

// The maker's home page and the page of the training course the maker recommends.
inline constexpr const char* HomePage = "https://kennel-logbook.example.org/";
inline constexpr const char* CoursePage = "https://kennel-logbook.example.org/RecommendedProgram";
// The home page's address as the About dialog writes it out.
inline constexpr const char* HomeAddressLabel = "kennel-logbook.example.org";
inline constexpr const char* CopyrightNotice = "Copyright (C) 2026 The Kennel Logbook authors";

// The first two parts of the file version the running program's own file carries ("1.0" for
// 1.0.0.36), or "0.0" when it carries none.
void GetAppVersion(std::string& Version);

// Asks the desktop to open Target (a web address or a document) in the user's program for it,
// without waiting for that program. False when no launcher could be started; callers may ignore
// it, as the window's links do: the user simply sees no browser.
bool OpenLink(const std::string& Target);

}  // namespace kl
