#pragma once

// The optional parent of a tick driver: told on the tick thread after each tick it posts.
class cActionTickParent
{
public:
    virtual ~cActionTickParent() = default;
    virtual void ActionTick() = 0;
};
