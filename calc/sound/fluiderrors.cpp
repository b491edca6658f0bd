#include "fluiderrors.h"

#include <fluidsynth.h>

namespace {
thread_local FluidErrorCapture *currentCapture = nullptr;

void collect(int level, const char *message, void *)
{
    if (currentCapture && (level == FLUID_PANIC || level == FLUID_ERR))
        currentCapture->errors << QString::fromLocal8Bit(message);
}
} // namespace

void quietFluidSynth()
{
    static const bool done = [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, collect, nullptr);
        return true;
    }();
    Q_UNUSED(done);
}

FluidErrorCapture::FluidErrorCapture() : m_outer(currentCapture)
{
    quietFluidSynth();
    currentCapture = this;
}

FluidErrorCapture::~FluidErrorCapture()
{
    currentCapture = m_outer;
}
