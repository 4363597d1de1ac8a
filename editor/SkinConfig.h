#pragma once
// The user's skin choice: one line "QuillmereSkin= N" in
// $HOME/Documents/Quillmere/QuillmereConfig.txt, read at every open of the editor and
// written when the user picks a skin.
//
// The path is built in a 256-byte buffer. A HOME too long for it finds no file: reading
// gives skin 1 and writing writes nothing. The first word of the file may be of any
// length: it is skipped whole (only its first 14 characters are kept, and nothing
// compares them), so a longer word followed by 2 still selects skin 2.

namespace Steinberg {
namespace Vst {

class Quillmere;

// Sets effect->skin from the file: 1 without a readable file, 0 when no number follows
// the first word, otherwise that number.
void readSkinConfig (Quillmere* effect);
// Writes effect->skin to the file, creating the two folders when they are missing.
void writeSkinConfig (Quillmere* effect);

} // namespace Vst
} // namespace Steinberg
