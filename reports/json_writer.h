// A small JSON writer for the machine-readable report: objects, arrays, strings, numbers, flags and
// null, two blanks of indentation per level, into a caller's UTF-16 buffer. It counts every
// character it would write, so when the buffer was too small the caller learns the length the
// whole document needs and can build it again; a cut document is never mistaken for a whole one.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

enum { kJsonMaxDepth = 16 };

struct JsonWriter {
    wchar_t* buf;
    size_t cap;
    size_t length; // characters of the whole document so far, written or not
    int32_t depth;
    int32_t empty[kJsonMaxDepth]; // nothing written yet in the object or array at that depth
};

void json_start(JsonWriter* w, wchar_t* buf, size_t cap);
// The document's length; the buffer holds it whole (and terminated) when it is below cap.
size_t json_finish(JsonWriter* w);

// Inside an object every value has a key; inside an array (and at the top) the key is null.
void json_object(JsonWriter* w, const wchar_t* key);
void json_end_object(JsonWriter* w);
void json_array(JsonWriter* w, const wchar_t* key);
void json_end_array(JsonWriter* w);
void json_text(JsonWriter* w, const wchar_t* key, const wchar_t* value);         // null value: null
void json_text_or_null(JsonWriter* w, const wchar_t* key, const wchar_t* value); // "" is null too
void json_number(JsonWriter* w, const wchar_t* key, int64_t value);
void json_flag(JsonWriter* w, const wchar_t* key, int value);
void json_null(JsonWriter* w, const wchar_t* key);
// The value when it is known, else null.
void json_number_or_null(JsonWriter* w, const wchar_t* key, int known, int64_t value);
void json_flag_or_null(JsonWriter* w, const wchar_t* key, int known, int value);

// The text as a JSON string with its quotes: quotes, backslashes and control characters escaped,
// U+2028 and U+2029 escaped for JavaScript readers, an unpaired surrogate escaped (it has no UTF-8
// form); everything else, characters beyond the Basic Multilingual Plane included, as it is. Returns
// the escaped length; out (when cap > 0) holds as much as fits, always terminated.
size_t json_escape(const wchar_t* text, wchar_t* out, size_t cap);
