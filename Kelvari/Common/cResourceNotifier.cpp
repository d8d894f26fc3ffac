#include "cResourceNotifier.h"

#include "cImageProperty.h"

cResourceNotifier::cResourceNotifier(QObject* parent) : QObject(parent)
{
    connect(this, &cResourceNotifier::ResourceInserted, this,
            [this](const QString& id) { Tell(id, &cImageProperty::ResourceInserted); });
    connect(this, &cResourceNotifier::ResourceRemoved, this,
            [this](const QString& id) { Tell(id, &cImageProperty::ResourceRemoved); });
    connect(this, &cResourceNotifier::ResourceChanged, this,
            [this](const QString& id) { Tell(id, &cImageProperty::ResourceChanged); });
}

cResourceNotifier::~cResourceNotifier()
{
    // Properties that outlive the document (children deleted after this part of it) must not reach back.
    for (const QVector<cImageProperty*>& followers : qAsConst(mFollowers))
    {
        for (cImageProperty* property : followers)
            property->mNotifier = nullptr;
    }
}

void cResourceNotifier::Follow(cImageProperty* property) const
{
    QVector<cImageProperty*>& followers = mFollowers[property->mResourceId];
    property->mFollowerIndex = followers.size();
    followers.append(property);
}

void cResourceNotifier::Unfollow(cImageProperty* property) const
{
    const auto found = mFollowers.find(property->mResourceId);
    if (found == mFollowers.end())
        return;
    // The last follower takes the leaving one's place, so leaving costs the same however many follow.
    QVector<cImageProperty*>& followers = *found;
    cImageProperty* last = followers.takeLast();
    if (last != property)
    {
        followers[property->mFollowerIndex] = last;
        last->mFollowerIndex = property->mFollowerIndex;
    }
    if (followers.isEmpty())
        mFollowers.erase(found);
}

void cResourceNotifier::Tell(const QString& id, void (cImageProperty::*slot)(QString)) const
{
    // A copy: a property told may change its id, which moves it between lists.
    const QVector<cImageProperty*> followers = mFollowers.value(id);
    for (cImageProperty* property : followers)
        (property->*slot)(id);
}
