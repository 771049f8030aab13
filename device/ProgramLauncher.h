#pragma once
// Starts a sibling program by command line (WinExec with SW_SHOWNORMAL on
// Windows); true when it started. Tests replace the launcher to see the command
// line without starting anything.
using ProgramLauncher = bool (*)(const char* commandLine);
void SetProgramLauncher(ProgramLauncher launcher);  // null restores the default
bool LaunchProgram(const char* commandLine);
