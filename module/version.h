#pragma once
// Identity strings of the module and its one class.

#define QUILLMERE_VENDOR "Quillmere Audio"
#define QUILLMERE_URL "https://quillmere.example"
#define QUILLMERE_EMAIL "support@quillmere.example"
#define QUILLMERE_NAME "Quillmere"
#define QUILLMERE_VERSION "2.0.2.0"
#define QUILLMERE_CATEGORY "Audio Module Class"
#define QUILLMERE_SUBCATEGORIES "Fx|Reverb"
#define QUILLMERE_SDK_VERSION "VST 3.6.6"
// The VST 2 unique id 'twkn'.
#define QUILLMERE_VST2_ID 0x74776B6E
