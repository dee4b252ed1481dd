// Which screen is open: one answer, asked by everything that acts only on some screens
// (the keyboard's focus, auto mode, skipping, the preferences' keys, the resting loop).
#pragma once

enum class Screen {
    Logo, Notice, Title,
    Story, Choice, QuitPrompt,  // the story's own screen, an open choice, the quit prompt
    Menu, MenuNotice,           // the system menu, and its notice after a save or a load
    Backlog, Preferences,       // pages over the story (the preferences also over the title)
    End
};

// The screen on top, from the game mode and the pages and prompts open over it.
Screen CurrentScreen();
