#include "ui/panels/ShownRecording.h"

#include "playback/view/VideoPlayer.h"

const IVideoInfo* PlayerShownRecording::info() const
{
    return player_.info();
}

int PlayerShownRecording::currentFrame() const
{
    return player_.currentFrame();
}
