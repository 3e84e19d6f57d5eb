// Writing a whole document out.
#include <cstring>

#include "scene/scene_file_writer.h"
#include "scene_edits.h"

namespace plof {

bool writeScene(const SceneDocument &document, const char *path) {
    SceneFileWriter writer(path);
    if (!writer.isOpen()) return false;
    for (const SceneLine *line = document.first; line != nullptr; line = line->next) {
        writer.writeText(line->text, std::strlen(line->text));
    }
    return writer.commit();
}

}  // namespace plof
