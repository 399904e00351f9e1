#pragma once

// The program from its start to its end; returns the process exit code.
int RunProgram();
