#include "base/SupportWeakCallback.h"

namespace obase {

std::weak_ptr<WeakFlag> SupportWeakCallback::GetWeakFlag()
{
    if (!flag_)
        flag_ = std::make_shared<WeakFlag>();
    return flag_;
}

}  // namespace obase
