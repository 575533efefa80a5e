// The walks of the installation steps over the script's items: [MAIN]'s own
// items first, then each chosen component (its items, its sub-components,
// its conditions), then [MAIN]'s conditions, each decided when the walk
// reaches it. Every walk answers 0 as soon as the installation is to stop
// (the user chose Abort, or confirmed a cancel), else 1.
#pragma once

class CSetupScript;

// InstallFile for every file item; a condition that does not hold takes
// one progress step.
int WalkFiles(CSetupScript& script);
// ApplyRegItem for every registry entry, one step after each list.
int WalkRegistry(CSetupScript& script);
// Nothing without a program group; else the group folder and every
// shortcut, one step after each list.
int WalkShortcuts(CSetupScript& script);
// Every program to run, without steps.
int WalkPrograms(CSetupScript& script);
