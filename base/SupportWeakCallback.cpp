#include "base/SupportWeakCallback.h"

namespace obase {

std::weak_ptr<WeakFlag> SupportWeakCallback::GetWeakFlag()
{
    if (!m_flag)
        m_flag = std::make_shared<WeakFlag>();
    return m_flag;
}

} // namespace obase
