#pragma once

// Runs the main window; the program ends when it closes.
class ControllerApp {
public:
    static int run(int argc, char** argv);
};
