#pragma once

#include <QStringList>

// FluidSynth reports through one process-wide log. The calculator keeps that log off the terminal
// and gathers the errors raised on this thread while a capture is alive, so that an output that
// will not open can say why in the calculator's own message.
class FluidErrorCapture
{
public:
    FluidErrorCapture();
    ~FluidErrorCapture();
    FluidErrorCapture(const FluidErrorCapture &) = delete;
    FluidErrorCapture &operator=(const FluidErrorCapture &) = delete;

    QStringList errors;

private:
    FluidErrorCapture *m_outer;
};

// Sends FluidSynth's log nowhere except into a live capture.
void quietFluidSynth();
