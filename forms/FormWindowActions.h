#pragma once

// Registers the keywords the form window carries out itself (focus, clicks,
// clipboard, menus, pickers, closing, HTML texts) with the process's action
// dispatcher. The program calls it once at start.
void RegisterFormWindowActions();
