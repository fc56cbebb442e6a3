#include "net/NetEndpoints.h"

#include <cstdlib>

#include "VelkLib/VelkError.h"
#include "modules/ProductWebSite.h"
#include "platform/SettingsStore.h"
#include "platform/TerminalText.h"
#include "run/VantryBase.h"

namespace {

constexpr NetEndpointInfo endpoints[] = {
    {NetEndpoint::UpdateHost, "UpdateHost", "VANTRY_UPDATE_HOST", "vantry.example.invalid"},
    {NetEndpoint::WebSite, "WebSite", webSiteVariable, defaultWebSite},
    {NetEndpoint::SmtpRelay, "SmtpRelay", "VANTRY_SMTP_RELAY", "smtp.example.invalid"},
    {NetEndpoint::FeedbackMailbox, "FeedbackMailbox", "VANTRY_FEEDBACK_MAILBOX",
     "feedback@vantry.example.invalid"},
};

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    std::string::size_type first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

const NetEndpointInfo& endpointInfo(NetEndpoint endpoint) {
    return endpoints[static_cast<int>(endpoint)];
}

namespace {

// The value the user gave (environment first, then the setting), and where
// from; "" when neither gives one.
std::string givenValue(const NetEndpointInfo& info, const platform::SettingsStore& profile,
                       std::string* source) {
    std::string value;
    if (const char* environment = std::getenv(info.environmentName)) value = trimmed(environment);
    if (!value.empty()) {
        *source = info.environmentName;
        return value;
    }
    *source = std::string("the setting ") + info.settingName;
    return trimmed(profile.getString("Update", info.settingName, ""));
}

}  // namespace

std::string endpointValue(NetEndpoint endpoint, const platform::SettingsStore& profile) {
    const NetEndpointInfo& info = endpointInfo(endpoint);
    std::string source;
    std::string value = givenValue(info, profile, &source);
    if (value.empty()) value = info.defaultValue;
    if (endpoint == NetEndpoint::WebSite) {
        while (value.size() > 1 && value.back() == '/') value.pop_back();
        if (!isWebAddress(value)) value = info.defaultValue;
    }
    return value;
}

std::string webSiteWarning(const platform::SettingsStore& profile) {
    const NetEndpointInfo& info = endpointInfo(NetEndpoint::WebSite);
    std::string source;
    std::string value = givenValue(info, profile, &source);
    if (value.empty() || isWebAddress(value)) return "";
    return "The web site \"" + terminalText(value) + "\" (" + source + ") is no http or https address; " +
           info.defaultValue + " is used.";
}

HostAndPort splitHostAndPort(const std::string& text, int defaultPort) {
    auto bad = [&text]() { return VelkError("Bad host name: " + terminalText(text)); };
    HostAndPort result{text, defaultPort};
    std::string::size_type colon = std::string::npos;
    if (!text.empty() && text[0] == '[') {
        std::string::size_type close = text.find(']');
        if (close == std::string::npos) throw bad();
        result.host = text.substr(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') throw bad();
            colon = close + 1;
        }
    } else {
        colon = text.find(':');
        if (colon != std::string::npos) {
            // A second colon: an IPv6 address without brackets, no port.
            if (text.find(':', colon + 1) != std::string::npos) {
                colon = std::string::npos;
            } else {
                result.host = text.substr(0, colon);
            }
        }
    }
    if (colon != std::string::npos) {
        std::string digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            throw bad();
        result.port = std::stoi(digits);
    }
    if (result.host.empty() || result.port < 1 || result.port > 65535) throw bad();
    for (char c : result.host) {
        if (static_cast<unsigned char>(c) <= ' ' || c == 127 || c == '/' || c == '@') throw bad();
    }
    return result;
}

std::string dottedProgramVersion() {
    std::string version;
    try {
        version = programVersionText();
    } catch (const VelkError&) {
        return "0.0.0.0";
    }
    for (char& c : version) {
        if (c == ',') c = '.';
    }
    return version;
}

std::string siteLinkAddress(const platform::SettingsStore& profile) {
    return endpointValue(NetEndpoint::WebSite, profile) + "/vantry?" + dottedProgramVersion();
}

std::string bugPageAddress(const platform::SettingsStore& profile) {
    return endpointValue(NetEndpoint::WebSite, profile) + "/app/bugs/BugsController.jpf";
}

std::string mailingListAddress(const platform::SettingsStore& profile) {
    return endpointValue(NetEndpoint::WebSite, profile) + "/app/mailing/subscribe.do";
}

std::string webSiteName(const platform::SettingsStore& profile) {
    std::string site = endpointValue(NetEndpoint::WebSite, profile);
    std::string::size_type scheme = site.find("://");
    return scheme == std::string::npos ? site : site.substr(scheme + 3);
}

PublishedWebSite::PublishedWebSite(const platform::SettingsStore& profile) {
    std::string site = endpointValue(NetEndpoint::WebSite, profile);
    if (site == moduleWebSite()) return;
    if (const char* before = std::getenv(webSiteVariable)) previous = before;
    ::setenv(webSiteVariable, site.c_str(), 1);
    changed = true;
}

PublishedWebSite::~PublishedWebSite() {
    if (!changed) return;
    if (previous) {
        ::setenv(webSiteVariable, previous->c_str(), 1);
    } else {
        ::unsetenv(webSiteVariable);
    }
}
