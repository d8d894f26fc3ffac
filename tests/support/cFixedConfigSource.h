#pragma once

#include "Kelvari/Common/cCurrentConfigSource.h"

// Stands in for the application: the image provider asks it for the open document.
class cFixedConfigSource : public cCurrentConfigSource
{
public:
    explicit cFixedConfigSource(const cConfigBase* config = nullptr) : mConfig(config) {}
    const cConfigBase* CurrentConfig() const override { return mConfig; }

    const cConfigBase* mConfig;
};
