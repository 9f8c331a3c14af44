// Sending the share message: the shell opens the links, Simple MAPI starts an email with the program
// attached, and the clipboard takes the message. Interface thread only.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

// Runs one ShareMethod. owner owns every message box and the clipboard (the Share window or the
// main window); result receives the line to show afterwards ("" when there is none).
void share_send(HWND owner, int32_t method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
                const wchar_t* message, wchar_t* result, size_t result_cap);

// Method 1: the email program shows a new message with this program file attached.
void send_with_attachment(HWND owner, const wchar_t* to, const wchar_t* subject, const wchar_t* message);

// File Explorer with the program file selected.
void show_program_file(HWND owner);

// The program's one clipboard writer: the text as Unicode text, the clipboard opened for owner.
// Returns whether the text is on the clipboard.
int32_t copy_text_to_clipboard(HWND owner, const wchar_t* text);
