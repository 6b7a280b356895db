#include "media/AudioSession.h"

#include <gtest/gtest.h>

TEST(AudioSession, RecordsWhatItIsTold)
{
    auto session = media::AudioSession::shared();
    EXPECT_EQ(session, media::AudioSession::shared());
    EXPECT_TRUE(session->setCategory(media::AudioSession::Category::PlayAndRecord));
    EXPECT_TRUE(session->setActive(true));
    EXPECT_TRUE(session->overrideOutputAudioPort(media::AudioSession::PortOverride::Speaker));
    EXPECT_EQ(session->category(), media::AudioSession::Category::PlayAndRecord);
    EXPECT_TRUE(session->isActive());
    EXPECT_EQ(session->outputOverride(), media::AudioSession::PortOverride::Speaker);
}
