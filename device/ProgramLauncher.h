#pragma once
// Starts a sibling program by command line (WinExec with SW_SHOWNORMAL on
// Windows). Tests replace the launcher to see the command line without starting
// anything.
using ProgramLauncher = void (*)(const char* commandLine);
void SetProgramLauncher(ProgramLauncher launcher);  // null restores the default
void LaunchProgram(const char* commandLine);
