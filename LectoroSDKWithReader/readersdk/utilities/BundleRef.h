#pragma once

#include "platform/base/Bundle.h"

#include <memory>

namespace lectoro {

// Bundles are passed around shared; the process's main and library bundles live for the
// process, so their handles own nothing.
using BundleRef = std::shared_ptr<base::Bundle>;

inline BundleRef mainBundleRef()
{
    return BundleRef(std::shared_ptr<void>(), &base::Bundle::main());
}

inline BundleRef libraryBundleRef()
{
    return BundleRef(std::shared_ptr<void>(), &base::Bundle::library());
}

} // namespace lectoro
