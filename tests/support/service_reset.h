// Tests start from an empty service registry: every service the host can
// offer the module withdrawn. Test code only; the host never withdraws them
// all at once.
#pragma once

namespace plof::host {

void clearServices();

}  // namespace plof::host
