#pragma once

class Clock;
class Folders;
class SettingsStore;
class ShellServices;

// The services of the running system that the windows use, handed in from
// outside so tests can replace every one of them.
struct PlatformServices
{
    SettingsStore &settings;
    const Folders &folders;
    ShellServices &shell;
    const Clock &clock;
};
