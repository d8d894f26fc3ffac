#include "cNetObject.h"

#include "DebugTrace.h"
#include "Syscall.h"
#include "cRegistryRouter.h"

#include <algorithm>

cNetObject::cNetObject(const char* name)
    : mName(name ? name : ""), mHandle(kZRNetNoHandle)
{
    cRegistryRouter* router = SyscallRegistryRouter();
    if (!router)
    {
        ZR_ERROR("No registry for net object %s", mName.c_str());
        return;
    }
    mHandle = router->Register(this, name);
}

cNetObject::~cNetObject()
{
    Unregister();
}

void cNetObject::Unregister()
{
    const UWORD handle = mHandle.exchange(kZRNetNoHandle);
    if (handle == kZRNetNoHandle)
        return;
    if (cRegistryRouter* router = SyscallRegistryRouter())
        router->Unregister(handle, this);
    std::vector<UWORD> tell;
    {
        std::lock_guard<std::mutex> lock(mLinksMutex);
        tell.swap(mDeleteList);
        mInformLists.clear();
    }
    for (UWORD other : tell)
        SyscallPostMessage(cZRNetMessage(kZRNetLocalConnection, other, handle, eMethodObjectDeleted));
}

void cNetObject::EntrypointMessage(const cZRNetMessage& message)
{
    switch (message.Method())
    {
    case eMethodAddInform:
        AddInform(message.GetUWord(0), {message.GetUWord(2), message.GetUWord(4), message.GetUWord(6)});
        AddToDeleteList(message.GetUWord(4));
        break;
    case eMethodAddDeleteNotify:
        AddToDeleteList(message.GetUWord(0));
        break;
    case eMethodObjectDeleted:
        ForgetObject(message.ConnectionId(), message.Source());
        break;
    default:
        ZR_ERROR("%s cannot handle method %u", mName.c_str(), message.Method());
        break;
    }
}

void cNetObject::EntrypointTick()
{
}

void cNetObject::EntrypointTock()
{
}

void cNetObject::RequestTicks(bool required)
{
    if (cRegistryRouter* router = SyscallRegistryRouter())
        router->SetTicksRequired(mHandle, required);
}

void cNetObject::AddInform(UWORD parameter, const sInformTarget& target)
{
    std::lock_guard<std::mutex> lock(mLinksMutex);
    std::vector<sInformTarget>& list = mInformLists[parameter];
    if (std::find(list.begin(), list.end(), target) == list.end())
        list.push_back(target);
}

std::vector<sInformTarget> cNetObject::InformList(UWORD parameter) const
{
    std::lock_guard<std::mutex> lock(mLinksMutex);
    const auto it = mInformLists.find(parameter);
    return it == mInformLists.end() ? std::vector<sInformTarget>() : it->second;
}

void cNetObject::AddToDeleteList(UWORD handle)
{
    std::lock_guard<std::mutex> lock(mLinksMutex);
    if (handle != mHandle && std::find(mDeleteList.begin(), mDeleteList.end(), handle) == mDeleteList.end())
        mDeleteList.push_back(handle);
}

std::vector<UWORD> cNetObject::DeleteList() const
{
    std::lock_guard<std::mutex> lock(mLinksMutex);
    return mDeleteList;
}

int cNetObject::InformParameter(UWORD parameter, const void* data, size_t length)
{
    int sent = 0;
    for (const sInformTarget& target : InformList(parameter))
    {
        cZRNetMessage message(target.mConnectionId, target.mHandle, mHandle, ZRNetParameterMethod(target.mParameter));
        message.SetPayload(data, length);
        if (SyscallSendMessage(message))
            ++sent;
    }
    return sent;
}

void cNetObject::ForgetObject(UWORD connectionId, UWORD handle)
{
    std::lock_guard<std::mutex> lock(mLinksMutex);
    for (auto& entry : mInformLists)
    {
        std::vector<sInformTarget>& list = entry.second;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const sInformTarget& target) {
                                      return target.mConnectionId == connectionId && target.mHandle == handle;
                                  }),
                   list.end());
    }
    mDeleteList.erase(std::remove(mDeleteList.begin(), mDeleteList.end(), handle), mDeleteList.end());
}
