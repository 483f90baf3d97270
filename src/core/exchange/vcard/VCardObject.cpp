#include "exchange/vcard/VCardObject.h"

namespace qv::vcard {

void VCardObject::setValue(QString value)
{
    m_value = std::move(value);
    m_hasValue = true;
}

VCardObject &VCardObject::addChild(VCardObject child)
{
    m_children.push_back(std::move(child));
    return m_children.back();
}

int VCardObject::indexOf(QStringView name) const
{
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].name() == name)
            return static_cast<int>(i);
    }
    return -1;
}

const VCardObject *VCardObject::firstChild(QStringView name) const
{
    const int i = indexOf(name);
    return i < 0 ? nullptr : &m_children[static_cast<std::size_t>(i)];
}

QString VCardObject::childValue(QStringView name) const
{
    const VCardObject *c = firstChild(name);
    return c ? c->value() : QString();
}

int VCardObject::setOrAddChild(const QString &name, const QString &value)
{
    const int i = indexOf(name);
    if (i >= 0) {
        m_children[static_cast<std::size_t>(i)].setValue(value);
        return i;
    }
    addChild(VCardObject(name, value));
    return static_cast<int>(m_children.size()) - 1;
}

void VCardObject::addParameter(const QString &name)
{
    if (indexOf(name) < 0)
        addChild(VCardObject(name));
}

} // namespace qv::vcard
