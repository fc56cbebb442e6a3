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

#include <cstdlib>
#include <string>

inline constexpr char webSiteVariable[] = "VANTRY_WEB_SITE";
inline constexpr char defaultWebSite[] = "http://vantry.example.invalid";

// The web site as a module finds it: the variable when it is set and not
// empty, else the default. Reads the environment only; safe from any thread
// while nobody changes the environment.
inline std::string moduleWebSite() {
    const char* value = std::getenv(webSiteVariable);
    return value != nullptr && *value != '\0' ? std::string(value) : std::string(defaultWebSite);
}
