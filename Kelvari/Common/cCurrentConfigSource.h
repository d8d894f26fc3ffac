#pragma once

class cConfigBase;

// Whatever knows the config document that is open at the moment (the
// application object). The image provider asks it at every request, so that
// it always serves the current document without depending on the editor layer.
class cCurrentConfigSource
{
public:
    virtual ~cCurrentConfigSource() = default;

    // The open document, or null when none is open.
    virtual const cConfigBase* CurrentConfig() const = 0;
};
