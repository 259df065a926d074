// Pieces every hero page shares: the head with its Content-Security-Policy, the heading, a
// face with its alternative text, and the display form of value tokens. The pages themselves
// are heroes/catalogue_page.h and heroes/diff_report.h.
//
// Each page is one HTML file that needs nothing from outside: its style sheet is inline and
// its script (only on pages that filter) too, each allowed by its SHA-256 hash; the policy
// allows no other style or script, no network address of any kind, no frames, forms or plugins;
// pictures only from the page's own place (file:// pages: files) and from data: addresses.
// Every text goes through AppendHtmlEscaped.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "heroes/face_size.h"

namespace qm::page {

// The Content-Security-Policy of a page, with or without its script.
std::string SecurityPolicy(bool with_script);

// <!doctype html> up to the opened <body>: the policy, the viewport for phones, the title and
// the style sheet.
void AppendHead(std::string* out, std::string_view title, bool with_script);

// The heading band: the title and one paragraph per note.
void AppendTop(std::string* out, std::string_view title, std::span<const std::string> notes);

// Closes the page, with the script before </body> when it has one.
void AppendEnd(std::string* out, bool with_script);

// One face: a focusable figure whose picture grows on hover or focus. An empty `src` shows a
// placeholder of the face's size saying `missing` instead.
void AppendFace(std::string* out, FaceKind kind, std::string_view src, std::string_view alt, std::string_view missing);

// "death_knight" -> "Death knight"; empty -> "none".
std::string DisplayToken(std::string_view token);

// The name a hero is called by in alternative texts: its name, else its keyword, else
// "record N".
std::string HeroCalled(std::string_view name, std::string_view keyword, size_t record);

}  // namespace qm::page
