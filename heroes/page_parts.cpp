#include "heroes/page_parts.h"

#include "base/html_text.h"
#include "heroes/page_assets.h"

namespace qm::page {

std::string SecurityPolicy(bool with_script) {
  std::string policy = "default-src 'none'; img-src 'self' data:; style-src '";
  policy += kPageStyleHash;
  policy += "'; script-src ";
  if (with_script) {
    policy += '\'';
    policy += kGalleryScriptHash;
    policy += '\'';
  } else {
    policy += "'none'";
  }
  policy += "; base-uri 'none'; form-action 'none'";
  return policy;
}

void AppendHead(std::string* out, std::string_view title, bool with_script) {
  *out +=
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"";
  AppendHtmlEscaped(out, SecurityPolicy(with_script));
  *out +=
      "\">\n<meta name=\"referrer\" content=\"no-referrer\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Quillmark qlmk\">\n<title>";
  AppendHtmlEscaped(out, title);
  *out += "</title>\n<style>";
  *out += kPageStyle;
  *out += "</style>\n</head>\n<body>\n";
}

void AppendTop(std::string* out, std::string_view title, std::span<const std::string> notes) {
  *out += "<header class=\"top\">\n<h1>";
  AppendHtmlEscaped(out, title);
  *out += "</h1>\n";
  for (const std::string& note : notes) {
    *out += "<p>";
    AppendHtmlEscaped(out, note);
    *out += "</p>\n";
  }
  *out += "</header>\n";
}

void AppendEnd(std::string* out, bool with_script) {
  if (with_script) {
    *out += "<script>";
    *out += kGalleryScript;
    *out += "</script>\n";
  }
  *out += "</body>\n</html>\n";
}

void AppendFace(std::string* out, FaceKind kind, std::string_view src, std::string_view alt, std::string_view missing) {
  const std::string size = std::to_string(FaceSize(kind));
  const char* kind_class = kind == FaceKind::kLarge ? "large" : "small";
  if (src.empty()) {
    *out += "<figure class=\"face ";
    *out += kind_class;
    *out += "\"><span class=\"none\" role=\"img\" aria-label=\"";
    AppendHtmlEscaped(out, alt);
    *out += "\">";
    AppendHtmlEscaped(out, missing);
    *out += "</span></figure>";
    return;
  }
  *out += "<figure class=\"face ";
  *out += kind_class;
  *out += "\" tabindex=\"0\"><img src=\"";
  AppendHtmlEscaped(out, src);
  *out += "\" width=\"" + size + "\" height=\"" + size + "\" alt=\"";
  AppendHtmlEscaped(out, alt);
  *out += "\"></figure>";
}

std::string DisplayToken(std::string_view token) {
  if (token.empty()) return "none";
  std::string out(token);
  for (char& c : out) {
    if (c == '_') c = ' ';
  }
  if (out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
  return out;
}

std::string HeroCalled(std::string_view name, std::string_view keyword, size_t record) {
  if (!name.empty()) return std::string(name);
  if (!keyword.empty()) return std::string(keyword);
  return "record " + std::to_string(record);
}

}  // namespace qm::page
