#pragma once

#include "cSizeFractionProperty.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QXmlStreamAttributes>
#include <memory>

class cComboProperty;
class cConfigBase;
class cKelvariConfigClient;
class cWidgetFactoryBase;
class QQuickItem;
class QStringRef;
class QVariant;
class QXmlStreamReader;
class QXmlStreamWriter;

// The base of every widget on a layout page: id, type key, geometry as
// fractions of its container, z order, the ordered property list, the QML
// items that show it, and its XML element "Widget". Whatever of the element
// the class does not interpret (attributes and child nodes, for instance of
// a newer program or of a widget type this one does not know) is kept and
// written back, so that opening and saving a file loses nothing.
class cWidget : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString type READ GetType CONSTANT)
    Q_PROPERTY(float xFraction READ xFraction WRITE setXFraction NOTIFY xFractionChanged)
    Q_PROPERTY(float yFraction READ yFraction WRITE setYFraction NOTIFY yFractionChanged)
    Q_PROPERTY(float widthFraction READ widthFraction WRITE setWidthFraction NOTIFY widthFractionChanged)
    Q_PROPERTY(float heightFraction READ heightFraction WRITE setHeightFraction NOTIFY heightFractionChanged)
    Q_PROPERTY(bool disabled READ IsDisabled NOTIFY disabledChanged)
    Q_PROPERTY(bool selected READ IsSelected NOTIFY selectedChanged)
    Q_PROPERTY(float z READ z NOTIFY zChanged)

public:
    // The type shown when a selection holds widgets of different kinds.
    static const QString mMultipleTypeName;

    cWidget(int id, const QString& type, QObject* parent);

    virtual void SetIsVisible(bool visible);
    // Registers an item that shows this widget: the layout editor's item goes
    // first, others are appended. Subclasses push their values into it.
    Q_INVOKABLE virtual void setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor);
    // Reads the geometry and keeps every attribute of the element.
    virtual void LoadAttributes(QXmlStreamReader& reader);
    virtual void SetOnline(std::shared_ptr<cKelvariConfigClient> client);
    virtual void SetOffline();
    // The whole element: start, attributes, child elements, end.
    virtual void WriteXml(QXmlStreamWriter& writer) const;
    // Consumes the rest of the element, its end included, keeping its child nodes.
    virtual void LoadSubXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                            const cWidgetFactoryBase& factory, std::shared_ptr<cKelvariConfigClient>& client);
    virtual void AssertValid() const;
    virtual void SetWidgetToDemoMode();
    virtual void WriteAttributes(QXmlStreamWriter& writer) const;

    int GetId() const { return mId; }
    // Only before the widget is shown: reading gives a widget whose id an earlier one has a fresh one.
    void SetId(int id) { mId = id; }
    QString GetType() const { return mType; }
    cSizeFractionProperty* GetXProperty() const { return mX; }
    cSizeFractionProperty* GetYProperty() const { return mY; }
    cSizeFractionProperty* GetWidthProperty() const { return mWidth; }
    cSizeFractionProperty* GetHeightProperty() const { return mHeight; }
    cFloatProperty* GetZProperty() const { return mZ; }
    const QList<cProperty*>& GetProperties() const { return mProperties; }
    // The first property of that name, or null.
    cProperty* GetProperty(const QString& name) const;
    const QList<QQuickItem*>& GetQQuickItems() const { return mItems; }
    bool IsOnline() const { return mOnline; }
    bool IsDisabled() const { return mDisabled; }
    bool IsSelected() const { return mSelected; }
    bool IsVisible() const { return mVisible; }
    // The ids of the "Widget" elements inside the XML kept without being understood.
    QList<int> KeptWidgetIds() const;

    float xFraction() const;
    float yFraction() const;
    float widthFraction() const;
    float heightFraction() const;
    float z() const;
    // Not clamped: the bounds are the editor's limits.
    void setXFraction(float value);
    void setYFraction(float value);
    void setWidthFraction(float value);
    void setHeightFraction(float value);
    void SetZ(float value);

    void SetDisabled(bool disabled);
    void SetSelected(bool selected);

    // Reads "id" and "type" of the element the reader stands on; false, with a
    // trace, when either is missing.
    static bool LoadBaseAttributes(QXmlStreamReader& reader, int& id, QString& type);
    // Selects the choice whose code is given; an unknown code selects the first
    // choice, with a trace.
    static void SetComboPropertyIndex(const QString& code, const QList<QPair<QString, QString>>& table,
                                      cComboProperty* property);
    static void SetComboPropertyIndex(const QString& code, const QList<QString>& codes, cComboProperty* property);
    static void AssertHasProperty(const QObject* item, const QString& propertyName);

    // The text form of numbers in the element: 'g' format, 6 significant digits.
    static QString AttributeText(float value);
    // An attribute as a number; a text that is no finite number gives 0.
    static float AttributeFloat(const QStringRef& text);

signals:
    void xFractionChanged();
    void yFractionChanged();
    void widthFractionChanged();
    void heightFractionChanged();
    void disabledChanged();
    void selectedChanged();
    void zChanged();
    void IsVisibleChanged();

protected:
    // Subclasses append their properties after the five geometry ones.
    void AppendProperty(cProperty* property);
    // Sets the named QML property of every registered item.
    void SetItemsProperty(const char* name, const QVariant& value) const;
    // Keeps the node the reader stands on (an element with all it holds, a
    // text or a comment) to be written back; leaves the reader on its last token.
    void PreserveCurrentNode(QXmlStreamReader& reader);
    // The attributes read that the class does not write itself; call right
    // after WriteAttributes.
    void WritePreservedAttributes(QXmlStreamWriter& writer) const;
    // The kept nodes, in the order they were read.
    void WritePreservedNodes(QXmlStreamWriter& writer) const;

private:
    void QQuickItemDestroyed(QQuickItem* item);
    QStringList WrittenAttributeNames() const;
    // Writes the nodes inside the replay's current element, up to its end.
    static void WriteReplayedNodes(QXmlStreamReader& replay, QXmlStreamWriter& writer);
    // Keeps, as copies, the attributes that the class does not write itself.
    void KeepUninterpretedAttributes(const QXmlStreamAttributes& attributes);

    int mId;
    const QString mType;
    // A geometry property that emits the widget's own change signal just before
    // valueChanged(), as a forwarding connection made first on valueChanged would,
    // without a connection per property. Its meta-object stays its base's.
    template <class tBase>
    class cGeometryProperty : public tBase
    {
    public:
        template <class... tArguments>
        cGeometryProperty(void (cWidget::*signal)(), cWidget* widget, const QString& name, float value,
                          tArguments... bounds)
            : tBase(name, value, widget, bounds...), mSignal(signal)
        {
        }

    protected:
        void AnnounceValueChanged() override
        {
            emit(static_cast<cWidget*>(this->parent())->*mSignal)();
            tBase::AnnounceValueChanged();
        }

    private:
        void (cWidget::*const mSignal)();
    };

    // The geometry properties live inside the widget, which saves an allocation
    // each; they are QObject children of the widget like every other property.
    cGeometryProperty<cSizeFractionProperty> mXProperty;
    cGeometryProperty<cSizeFractionProperty> mYProperty;
    cGeometryProperty<cSizeFractionProperty> mWidthProperty;
    cGeometryProperty<cSizeFractionProperty> mHeightProperty;
    cGeometryProperty<cFloatProperty> mZProperty;
    cSizeFractionProperty* const mX;
    cSizeFractionProperty* const mY;
    cSizeFractionProperty* const mWidth;
    cSizeFractionProperty* const mHeight;
    QList<QQuickItem*> mItems;
    bool mDisabled = false;
    bool mSelected = false;
    QList<cProperty*> mProperties;
    bool mOnline = false;
    cFloatProperty* const mZ;
    bool mVisible = true;
    QXmlStreamAttributes mLoadedAttributes;
    // Self-contained XML: each kept node declares the namespaces it uses.
    QByteArray mPreservedNodes;
};
