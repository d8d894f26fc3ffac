#include "QQmlObjectListModelBase.h"

#include <QDebug>
#include <QMetaProperty>

namespace
{
// Names that QML delegates already have; a role of that name would be shadowed.
bool IsForbiddenRoleName(const QByteArray& name)
{
    return name == "id" || name == "index" || name == "class" || name == "model" || name == "modelData";
}
}

QQmlObjectListModelBase::QQmlObjectListModelBase(QObject* parent)
    : QAbstractListModel(parent)
{
}

QQmlObjectListModelBase::sRoles QQmlObjectListModelBase::BuildRoles(const QMetaObject& meta,
                                                                    const QByteArray& displayRoleName)
{
    sRoles roles;
    roles.mNames.insert(ObjectRole, QByteArrayLiteral("qtObject"));
    for (int i = 0; i < meta.propertyCount(); ++i)
    {
        const QMetaProperty property = meta.property(i);
        const QByteArray name(property.name());
        if (IsForbiddenRoleName(name))
        {
            const QByteArray modelName = QByteArrayLiteral("QQmlObjectListModel<") + meta.className() + '>';
            qWarning() << "Can't have" << name << "as a role name in" << modelName.constData();
            continue;
        }
        const int role = FirstPropertyRole + i;
        roles.mNames.insert(role, name);
        if (property.hasNotifySignal())
            roles.mSignalRoles.insert(property.notifySignalIndex(), role);
    }
    if (!displayRoleName.isEmpty())
        roles.mNames.insert(Qt::DisplayRole, QByteArrayLiteral("display"));
    return roles;
}

int QQmlObjectListModelBase::FirstRoleNamed(const QHash<int, QByteArray>& roles, const QByteArray& name)
{
    int found = -1;
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
    {
        if (it.value() == name && (found < 0 || it.key() < found))
            found = it.key();
    }
    return found;
}
