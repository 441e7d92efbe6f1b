#pragma once

class QThread;

// The shell's background threads (the start-up worker, the login's user
// list). Nobody waits for them: each deletes itself when it ends, and a
// program that ends while one still runs cuts it off with the process.

// Starts the thread and lets it delete itself when it has finished.
void StartShellThread(QThread* thread);

// Whether one of them still runs.
bool ShellThreadsRunning();
