#include "host/files/png_output.h"

#include "host/base/host_error.h"
#include "host/files/output_file.h"

namespace plof::host {

namespace {

cairo_status_t appendBytes(void *closure, const unsigned char *data, unsigned int length) {
    auto &file = *static_cast<OutputFile *>(closure);
    file.write(std::string_view(reinterpret_cast<const char *>(data), length));
    return file.failed() ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}

}  // namespace

void writePngFile(cairo_surface_t *surface, const std::string &path) {
    OutputFile file(path);
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, &appendBytes, &file);
    // A write failure is the file's to report, with the system's reason.
    if (status != CAIRO_STATUS_SUCCESS && !file.failed()) {
        throw OutputError(path + ": cannot encode the picture (" + cairo_status_to_string(status) + ")");
    }
    file.commit();
}

}  // namespace plof::host
