#pragma once
// Process-wide services the program's classes use, without the platform's types.
#include <cstdint>
#include <string>

// Blocks the calling thread for the given time.
void SleepMilliseconds(uint32_t milliseconds);
bool DirectoryExists(const std::wstring& path);
// The system's default language identifier (primary and sub-language).
uint16_t SysDefaultLanguage();
// One line for a debugger watching the process.
void OutputDebugLine(const std::wstring& line);
