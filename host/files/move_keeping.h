// Moving a file between two folders (given as handles) in one step that
// keeps a file already under the new name: the confined folder's move into
// place (confined_folder.h), with a part for each platform.
#pragma once

namespace plof::host {

// Moves `from` in `fromFolder` to `to` in `toFolder`, never replacing what
// is there: 0 when moved, else -1 with errno set (EEXIST when `to` exists).
int moveKeeping(int fromFolder, const char *from, int toFolder, const char *to);

}  // namespace plof::host
