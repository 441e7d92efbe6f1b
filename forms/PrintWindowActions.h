#pragma once

class CActionDispatcher;

// Registers the keywords of popup forms and printing that the form window
// carries out itself ("show_dialog", "print_pos_get", "print_pos_setup",
// "print_setup", "print", "print_pre"); part of RegisterFormWindowActions.
void RegisterPrintWindowActions(CActionDispatcher& dispatcher);
