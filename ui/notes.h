// The notes window's text without a window.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

// The notes window's text: the header unchanged (at most 39,900 characters), then the body with each
// bare line feed turned into CR LF; the whole stops at 39,990 characters (or cap - 1 when smaller).
void build_notes_text(const wchar_t* header, const wchar_t* body, wchar_t* out, size_t cap);

enum : int32_t { kNotesTextCapacity = 40000 };
