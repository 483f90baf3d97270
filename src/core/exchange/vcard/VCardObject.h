#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace qv::vcard {

// One object of the vCard property tree: a card ("VCARD"), one of its
// properties ("TEL"), a parameter of a property ("HOME", "CHARSET") or a
// component of a structured value ("F" of N). Parameters such as "HOME" have
// no value; components and parameters such as "CHARSET" have one. Children
// keep their order. Names are compared exactly.
class VCardObject {
public:
    VCardObject() = default;
    explicit VCardObject(QString name) : m_name(std::move(name)) {}
    VCardObject(QString name, QString value) : m_name(std::move(name)), m_value(std::move(value)), m_hasValue(true) {}

    const QString &name() const { return m_name; }
    const QString &value() const { return m_value; }
    bool hasValue() const { return m_hasValue; }
    void setValue(QString value);

    // The group of a grouped property ("item1" of "item1.EMAIL"), else empty.
    const QString &group() const { return m_group; }
    void setGroup(QString group) { m_group = std::move(group); }

    const std::vector<VCardObject> &children() const { return m_children; }
    // References to children stay valid until the next child is added.
    VCardObject &child(std::size_t index) { return m_children[index]; }
    const VCardObject &child(std::size_t index) const { return m_children[index]; }
    VCardObject &addChild(VCardObject child);
    void reserveChildren(std::size_t count) { m_children.reserve(count); }

    // The position of the first child of that name, or -1.
    int indexOf(QStringView name) const;
    const VCardObject *firstChild(QStringView name) const;
    // The value of the first child of that name; empty when there is none.
    QString childValue(QStringView name) const;

    // Replaces the value of the first child of that name, or adds a child
    // with that value; returns the child's position.
    int setOrAddChild(const QString &name, const QString &value);
    // Adds a parameter without value unless one of that name is there.
    void addParameter(const QString &name);

private:
    QString m_name;
    QString m_value;
    QString m_group;
    std::vector<VCardObject> m_children;
    bool m_hasValue = false;
};

} // namespace qv::vcard
