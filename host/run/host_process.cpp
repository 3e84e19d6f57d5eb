#include "host/run/host_process.h"

namespace plof::host {

HostProcess::HostProcess()
    : temporaries_(std::make_unique<TemporaryFiles>()), warnings_(true), context_{.temporaries = temporaries_.get(),
                                                                                  .warnings = &warnings_,
                                                                                  .services = &services_,
                                                                                  .panels = &panels_},
      installation_(context_) {}

}  // namespace plof::host
