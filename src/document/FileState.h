#pragma once

namespace tavrin {

// The view's document state: 0 no document, 1 new (untitled), 2 read from or saved to a file.
enum class FileState { None = 0, Untitled = 1, File = 2 };

}  // namespace tavrin
