#pragma once

// Fills the process's action dispatcher with the handlers of the form
// actions, once at start.
void RegisterFormActions();
