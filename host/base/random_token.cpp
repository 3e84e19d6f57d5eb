#include "host/base/random_token.h"

#include <random>

namespace plof::host {

std::string newToken() {
    std::random_device source;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 32; ++i) token += kDigits[source() % 16];
    return token;
}

}  // namespace plof::host
