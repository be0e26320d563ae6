#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"

#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <cmath>

namespace lectoro {

namespace {

bool readAloudEndsSentence(const std::string& text)
{
    auto end = text.find_last_not_of(" \t\n\"'\u00bb)");
    if (end == std::string::npos)
        return false;
    char c = text[end];
    return c == '.' || c == '!' || c == '?';
}

// A timing entry, or none when it has no start in seconds.
std::optional<AudioSyncController::Word> readAloudWord(const base::Value& entry)
{
    if (!entry.asDictionary())
        return std::nullopt;
    const base::Value& start = entry["start"];
    if (start.isNull())
        return std::nullopt;
    AudioSyncController::Word word;
    word.start = start.doubleValue();
    if (!std::isfinite(word.start) || word.start < 0)
        return std::nullopt;
    word.end = entry["end"].doubleValue();
    if (!std::isfinite(word.end) || word.end < word.start)
        word.end = word.start;
    word.text = entry["text"].description();
    if (entry["text"].isNull())
        word.text.clear();
    if (!entry["wordId"].isNull())
        word.wordId = entry["wordId"].description();
    return word;
}

void readAloudMarkSentences(std::vector<AudioSyncController::Word>& words)
{
    bool next = true;
    for (auto& word : words) {
        word.startsSentence = next;
        next = readAloudEndsSentence(word.text);
    }
}

} // namespace

std::shared_ptr<AudioSyncController> AudioSyncController::create(const std::vector<std::shared_ptr<PXLinkVO>>& links,
    std::weak_ptr<AudioSyncControllerDelegate> delegate, std::shared_ptr<LectoroBookVO> book, bool playerUIEnable)
{
    std::vector<Word> words;
    std::string pageId;
    for (const auto& link : links) {
        if (!link)
            continue;
        if (pageId.empty())
            pageId = link->pageID;
        std::vector<Word> linkWords;
        if (const auto* list = link->audioSync.asList()) {
            for (const auto& entry : *list) {
                if (auto word = readAloudWord(entry))
                    linkWords.push_back(std::move(*word));
            }
        }
        // The link's box holds its words on one line; each takes a share by its length.
        ui::Rect box = link->boxTansformedRect.isEmpty() ? link->transformedRect : link->boxTansformedRect;
        double units = 0;
        for (const auto& word : linkWords)
            units += double(base::utf16Length(word.text)) + 1;
        double x = box.origin.x;
        for (auto& word : linkWords) {
            double share = units > 0 ? box.size.width * (double(base::utf16Length(word.text)) + 1) / units : 0;
            word.frame = ui::Rect { { x, box.origin.y }, { share, box.size.height } };
            x += share;
        }
        words.insert(words.end(), linkWords.begin(), linkWords.end());
    }
    std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) { return a.start < b.start; });
    readAloudMarkSentences(words);
    return std::shared_ptr<AudioSyncController>(
        new AudioSyncController(std::move(words), std::move(delegate), std::move(book), pageId, playerUIEnable));
}

std::shared_ptr<AudioSyncController> AudioSyncController::create(const base::Value& audioSyncArray,
    std::weak_ptr<AudioSyncControllerDelegate> delegate, std::shared_ptr<LectoroBookVO> book, const std::string& pageId,
    bool playerUIEnable)
{
    std::vector<Word> words;
    if (const auto* list = audioSyncArray.asList()) {
        for (const auto& entry : *list) {
            if (auto word = readAloudWord(entry))
                words.push_back(std::move(*word));
        }
    }
    std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) { return a.start < b.start; });
    readAloudMarkSentences(words);
    return std::shared_ptr<AudioSyncController>(
        new AudioSyncController(std::move(words), std::move(delegate), std::move(book), pageId, playerUIEnable));
}

AudioSyncController::AudioSyncController(std::vector<Word> words, std::weak_ptr<AudioSyncControllerDelegate> delegate,
    std::shared_ptr<LectoroBookVO> book, std::string pageId, bool playerUIEnable)
    : m_words(std::move(words))
    , m_delegate(std::move(delegate))
    , m_book(std::move(book))
    , m_pageId(std::move(pageId))
    , m_playerUIEnable(playerUIEnable)
{
}

AudioSyncController::~AudioSyncController() { cancelScheduled(); }

double AudioSyncController::position() const
{
    if (!m_playing)
        return m_anchorPosition;
    return m_anchorPosition + (base::RunLoop::main().now() - m_anchorTime) * m_rate;
}

void AudioSyncController::start()
{
    cancelScheduled();
    m_next = 0;
    m_anchorPosition = 0;
    m_anchorTime = base::RunLoop::main().now();
    m_playing = true;
    scheduleNext();
}

void AudioSyncController::stop()
{
    cancelScheduled();
    m_playing = false;
    m_anchorPosition = 0;
    m_next = 0;
}

void AudioSyncController::pause()
{
    if (!m_playing)
        return;
    m_anchorPosition = position();
    m_playing = false;
    cancelScheduled();
    if (auto delegate = m_delegate.lock())
        delegate->audioSyncDidPaused();
}

void AudioSyncController::resume()
{
    if (m_playing)
        return;
    m_anchorTime = base::RunLoop::main().now();
    m_playing = true;
    scheduleNext();
}

void AudioSyncController::playPauseAction()
{
    if (m_playing)
        pause();
    else
        resume();
}

void AudioSyncController::changeAudioPlayingSpeed(float rate)
{
    if (!(rate > 0) || !std::isfinite(rate))
        return;
    m_anchorPosition = position();
    m_anchorTime = base::RunLoop::main().now();
    m_rate = rate;
    if (m_playing) {
        cancelScheduled();
        scheduleNext();
    }
}

void AudioSyncController::playAudioFromWordId(const std::string& wordId)
{
    for (size_t i = 0; i < m_words.size(); ++i) {
        if (!wordId.empty() && m_words[i].wordId == wordId)
            return moveTo(i);
    }
}

void AudioSyncController::playAudioFromWordRect(const ui::Rect& rect, const std::string& wordText)
{
    std::optional<size_t> touched;
    for (size_t i = 0; i < m_words.size(); ++i) {
        if (!m_words[i].frame.intersects(rect))
            continue;
        if (!touched || m_words[i].text == wordText)
            touched = i;
        if (m_words[i].text == wordText)
            break;
    }
    if (touched)
        moveTo(*touched);
}

void AudioSyncController::moveTo(size_t wordIndex)
{
    cancelScheduled();
    m_next = wordIndex;
    m_anchorPosition = m_words[wordIndex].start;
    m_anchorTime = base::RunLoop::main().now();
    if (m_playing)
        scheduleNext();
}

void AudioSyncController::scheduleNext()
{
    double target = 0;
    if (m_next < m_words.size())
        target = m_words[m_next].start;
    else if (!m_words.empty())
        target = std::max(m_words.back().end, m_words.back().start);
    double delay = std::max(0.0, (target - position()) / m_rate);
    std::weak_ptr<AudioSyncController> weak = weak_from_this();
    m_task = base::RunLoop::main().postDelayed(delay, weak, [weak] {
        if (auto self = weak.lock()) {
            self->m_task.reset();
            self->fire();
        }
    });
}

void AudioSyncController::cancelScheduled()
{
    if (m_task)
        base::RunLoop::main().cancel(*m_task);
    m_task.reset();
}

std::vector<ui::Rect> AudioSyncController::sentenceFrames(size_t wordIndex) const
{
    std::vector<ui::Rect> frames;
    for (size_t i = wordIndex; i < m_words.size(); ++i) {
        if (i > wordIndex && m_words[i].startsSentence)
            break;
        frames.push_back(m_words[i].frame);
    }
    return frames;
}

void AudioSyncController::fire()
{
    if (!m_playing)
        return;
    // The delegate may release this controller from inside a report.
    auto protect = shared_from_this();
    auto delegate = m_delegate.lock();
    if (m_next >= m_words.size()) {
        m_anchorPosition = position();
        m_playing = false;
        if (delegate)
            delegate->audioSyncdidCompleteForPageIdentifier(m_pageId);
        return;
    }
    size_t index = m_next++;
    const Word word = m_words[index];
    if (delegate) {
        if (!word.wordId.empty()) {
            delegate->didJumpToTextWithWordId(word.wordId, m_pageId);
        } else {
            if (word.startsSentence)
                delegate->didJumpToSentenceWithWordFrames(sentenceFrames(index), m_pageId);
            delegate->didJumpToTextWithFrame(word.frame, m_pageId);
        }
    }
    if (m_playing && !m_task)
        scheduleNext();
}

} // namespace lectoro
