#pragma once
// Registers every resource of the program with the framework. Called once before the first window
// is made (by start-up, and by tests that build windows).

namespace resources {

void RegisterProgramResources();

// The parts, each beside its own data.
void RegisterMenuAndAccelerators();
void RegisterStrings();
void RegisterBitmaps();
void RegisterAboutDialog();
void RegisterTerminalOptionsDialog();
void RegisterPortSettingsDialog();

} // namespace resources
