// Where the product lives on the web: the one place that names its site.
#pragma once

namespace platform {

// The product's web site, without a closing "/".
constexpr const char* productSiteAddress = "https://vantry.velkdask.example";

}  // namespace platform
