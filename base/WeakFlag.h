#pragma once

namespace obase {

// Lives exactly as long as the object that hands out weak callbacks; the
// callbacks hold it weakly and test whether it is still there.
class WeakFlag {};

} // namespace obase
