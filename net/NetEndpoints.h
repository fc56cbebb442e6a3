// Where the network services go: the update host, the product's web site,
// the mail relay and the feedback mailbox.
//
// Each endpoint has a default that points nowhere real, is overridden by a
// value in the settings section "Update", and that again by an environment
// variable, so that a site of one's own (or a test's server on 127.0.0.1)
// can stand in.
#pragma once

#include <optional>
#include <string>

namespace platform {
class SettingsStore;
}

enum class NetEndpoint {
    UpdateHost,       // host[:port] that serves the version file over HTTP
    WebSite,          // the product's web site: scheme, host, optional port
    SmtpRelay,        // host[:port] of the mail relay; port 25 when none
    FeedbackMailbox,  // the address that feedback mail goes to
};

struct NetEndpointInfo {
    NetEndpoint endpoint;
    const char* settingName;      // in section "Update"
    const char* environmentName;  // overrides the setting when set and not empty
    const char* defaultValue;
};

// The table of endpoints, in the order of NetEndpoint.
const NetEndpointInfo& endpointInfo(NetEndpoint endpoint);

// The endpoint's value: the environment variable, else the setting, else the
// default (the first that is not empty), blanks around it removed. A web
// site value loses any "/" at its end, and is the default unless it is an
// http or https address (isWebAddress, modules/ProductWebSite.h).
std::string endpointValue(NetEndpoint endpoint, const platform::SettingsStore& profile);

// "" when the web site that the environment or the settings give is an http
// or https address, or none is given; otherwise the warning that names the
// value, where it comes from and the default used in its place.
std::string webSiteWarning(const platform::SettingsStore& profile);

struct HostAndPort {
    std::string host;
    int port = 0;
};

// Splits "host", "host:port", "[v6-address]" or "[v6-address]:port"; a
// missing port is defaultPort. Throws VelkError "Bad host name: " + text
// when the host is empty or the port is not a number from 1 to 65535.
HostAndPort splitHostAndPort(const std::string& text, int defaultPort);

// The web site's addresses: the site link (the site + "/vantry?" + the
// program's version, dotted), the bug page and the mailing-list page.
std::string siteLinkAddress(const platform::SettingsStore& profile);
std::string bugPageAddress(const platform::SettingsStore& profile);
std::string mailingListAddress(const platform::SettingsStore& profile);

// The web site as a link's text names it: the site without its scheme
// ("vantry.example.invalid" for "http://vantry.example.invalid").
std::string webSiteName(const platform::SettingsStore& profile);

// The program's version as four numbers joined by "." ("2.3.1.3"); "0.0.0.0"
// when the program file carries none.
std::string dottedProgramVersion();

// Output modules see no settings: they take the web site from the
// environment variable alone, else the same default (modules/
// ProductWebSite.h). While this lives, that variable holds the resolved web
// site whenever a module would otherwise read another; its end leaves the
// variable as it found it. Make and end it while no other thread uses the
// environment: before the first run starts and after the last has ended.
class PublishedWebSite {
public:
    explicit PublishedWebSite(const platform::SettingsStore& profile);
    ~PublishedWebSite();
    PublishedWebSite(const PublishedWebSite&) = delete;
    PublishedWebSite& operator=(const PublishedWebSite&) = delete;

private:
    bool changed = false;
    std::optional<std::string> previous;  // the variable's value before, if it had one
};
