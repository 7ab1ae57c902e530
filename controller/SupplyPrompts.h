#pragma once

class QString;

// What the supply controller has to tell the user at once, before it goes on:
// the window answers with message boxes, tests answer for themselves.
class SupplyPrompts {
public:
    virtual ~SupplyPrompts() = default;

    // A supply of a model this program does not know has been found.
    virtual void unknownSupply() = 0;
    // The settings file cannot be read or written; the text says why and what to do.
    virtual void settingsProblem(const QString& advice) = 0;
};
