#pragma once

// What the network window asks of the main window: the station graph window is a child window
// of the main window too, created and closed there.
class NetworkHost {
public:
    virtual ~NetworkHost() = default;
    // Creates the station graph window in the client area, unless one is open.
    virtual void openGraphWindow() = 0;
    // Closes the station graph window without its question.
    virtual void closeGraphWindow() = 0;
    // Draws the open station graph again (the network it draws changed).
    virtual void redrawGraphWindow() = 0;
};
