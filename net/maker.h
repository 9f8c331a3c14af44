// The driver search restricted to the maker's own web domain (the maker and model guess itself is
// core/model_guess.h), and the URL percent-encoding that the driver search and the share links use.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/model_guess.h"

// URL percent-encoding of the text's UTF-8 bytes: letters, digits and "-._~" stay, a carriage return
// is dropped, a line feed becomes "%0D%0A" with crlf set and "%0A" otherwise, every other byte
// "%XX". Encoding stops once the output reaches capacity - 8 characters, so the result has at most
// capacity - 3 characters; a capacity below 9 gives an empty text.
void percent_encode(const wchar_t* text, wchar_t* out, size_t capacity, int crlf);

// The web search for a model's driver: restricted to the maker's site when the domain is known.
#define VANTREL_SEARCH_ADDRESS L"https://www.google.com/search?q="
void driver_search_query(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap);
void driver_search_url(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap);
