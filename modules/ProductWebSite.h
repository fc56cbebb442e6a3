// The product's web site, which the dialogs' links and the generated pages'
// version credit both lead to.
//
// The program resolves it from the environment variable, the setting
// "WebSite" in section "Update" and the default (net/NetEndpoints.h). An
// output module sees no settings and nothing of it crosses the module
// interface: before any module runs, the program leaves the resolved site
// in its own environment under the same variable, and a module reads it
// from there with the same default (moduleWebSite).
#pragma once

#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

inline constexpr char webSiteVariable[] = "VANTRY_WEB_SITE";
inline constexpr char defaultWebSite[] = "http://vantry.example.invalid";

// True for an address that a page may link to as the product's site:
// "http://" or "https://" (the scheme in any letter case) and a host right
// after it, with no blank or control character anywhere. Anything else
// ("javascript:...", a bare host name) would be no page, or a script, behind
// the link.
inline bool isWebAddress(std::string_view text) {
    auto startsWithScheme = [text](std::string_view scheme) {
        if (text.size() <= scheme.size()) return false;
        for (std::size_t i = 0; i < scheme.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(text[i])) != scheme[i]) return false;
        return text[scheme.size()] != '/';
    };
    if (!startsWithScheme("http://") && !startsWithScheme("https://")) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) <= ' ' || c == 127) return false;
    return true;
}

// The web site as a module finds it: the variable when it holds a web
// address (isWebAddress), else the default. Reads the environment only;
// safe from any thread while nobody changes the environment.
inline std::string moduleWebSite() {
    const char* value = std::getenv(webSiteVariable);
    return value != nullptr && isWebAddress(value) ? std::string(value) : std::string(defaultWebSite);
}
