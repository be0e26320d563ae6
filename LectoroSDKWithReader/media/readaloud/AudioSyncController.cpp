#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/media/Player.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

std::string AudioSyncController::bookFolder(const LectoroBookVO* book)
{
    return !book ? std::string() : !book->absolutePath.empty() ? book->absolutePath : book->path;
}

std::string AudioSyncController::audioPathForLink(const PXLinkVO& link, const LectoroBookVO* book)
{
    return base::pathInsideFolder(bookFolder(book), base::trimWhitespace(link.url)).value_or(std::string());
}

std::shared_ptr<AudioSyncController> AudioSyncController::create(const std::vector<std::shared_ptr<PXLinkVO>>& links,
    std::weak_ptr<AudioSyncControllerDelegate> delegate, std::shared_ptr<LectoroBookVO> book, bool playerUIEnable)
{
    std::vector<Word> words;
    std::vector<Stretch> stretches;
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
        // Links naming the same file in a row are one stretch of it; a link of its own file
        // starts a new stretch, its timings counting from that file's beginning.
        std::string audioPath = audioPathForLink(*link, book.get());
        if (stretches.empty() || stretches.back().audioPath != audioPath)
            stretches.push_back(Stretch { words.size(), words.size(), std::move(audioPath) });
        words.insert(words.end(), linkWords.begin(), linkWords.end());
        stretches.back().end = words.size();
    }
    for (const auto& stretch : stretches) {
        std::stable_sort(words.begin() + std::ptrdiff_t(stretch.begin), words.begin() + std::ptrdiff_t(stretch.end),
            [](const Word& a, const Word& b) { return a.start < b.start; });
    }
    readAloudMarkSentences(words);
    return std::shared_ptr<AudioSyncController>(new AudioSyncController(
        std::move(words), std::move(stretches), std::move(delegate), std::move(book), pageId, playerUIEnable));
}

std::shared_ptr<AudioSyncController> AudioSyncController::create(const base::Value& audioSyncArray,
    std::weak_ptr<AudioSyncControllerDelegate> delegate, std::shared_ptr<LectoroBookVO> book, const std::string& pageId,
    bool playerUIEnable)
{
    std::vector<Word> words;
    std::vector<Stretch> stretches;
    if (const auto* list = audioSyncArray.asList()) {
        for (const auto& entry : *list) {
            auto word = readAloudWord(entry);
            if (!word)
                continue;
            // Entries naming the same file in a row are one stretch of it, their times
            // positions in it; the file is found by the same rule as a link's.
            PXLinkVO clip;
            clip.url = entry["audio"].asString().value_or("");
            std::string audioPath = audioPathForLink(clip, book.get());
            if (stretches.empty() || stretches.back().audioPath != audioPath)
                stretches.push_back(Stretch { words.size(), words.size(), std::move(audioPath) });
            words.push_back(std::move(*word));
            stretches.back().end = words.size();
        }
    }
    for (const auto& stretch : stretches) {
        std::stable_sort(words.begin() + std::ptrdiff_t(stretch.begin), words.begin() + std::ptrdiff_t(stretch.end),
            [](const Word& a, const Word& b) { return a.start < b.start; });
    }
    readAloudMarkSentences(words);
    return std::shared_ptr<AudioSyncController>(new AudioSyncController(
        std::move(words), std::move(stretches), std::move(delegate), std::move(book), pageId, playerUIEnable));
}

AudioSyncController::AudioSyncController(std::vector<Word> words, std::vector<Stretch> stretches,
    std::weak_ptr<AudioSyncControllerDelegate> delegate, std::shared_ptr<LectoroBookVO> book, std::string pageId,
    bool playerUIEnable)
    : m_words(std::move(words))
    , m_stretches(std::move(stretches))
    , m_delegate(std::move(delegate))
    , m_book(std::move(book))
    , m_pageId(std::move(pageId))
    , m_playerUIEnable(playerUIEnable)
{
    // A page of links without timings still has its one (empty) stretch, which ends at once.
    if (m_stretches.empty())
        m_stretches.push_back(Stretch {});
}

AudioSyncController::~AudioSyncController() { silence(); }

double AudioSyncController::position() const { return m_playback ? m_playback->position() : 0; }

std::optional<NarrationPlayback::Kind> AudioSyncController::narrationKind() const
{
    if (!m_playback)
        return std::nullopt;
    return m_playback->kind();
}

std::shared_ptr<media::Player> AudioSyncController::audioPlayer() const
{
    return m_playback ? m_playback->player() : nullptr;
}

void AudioSyncController::silence()
{
    if (auto playback = std::exchange(m_playback, nullptr))
        playback->stop();
}

NarrationPlayback::Listener AudioSyncController::listenerFor(size_t stretch)
{
    std::weak_ptr<AudioSyncController> weak = weak_from_this();
    NarrationPlayback::Listener listener;
    listener.word = [weak, stretch](size_t index) {
        if (auto self = weak.lock())
            self->wordReached(stretch, index);
    };
    listener.end = [weak, stretch] {
        if (auto self = weak.lock())
            self->stretchEnded(stretch);
    };
    listener.failed = [weak, stretch](size_t index) {
        if (auto self = weak.lock())
            self->stretchFailed(stretch, index);
    };
    listener.paused = [weak, stretch] {
        auto self = weak.lock();
        if (!self || !self->m_playing || stretch != self->m_stretch)
            return;
        // Paused by the system: the narration says so, and playing again resumes it.
        self->m_playing = false;
        if (auto delegate = self->m_delegate.lock())
            delegate->audioSyncDidPaused();
    };
    return listener;
}

void AudioSyncController::beginStretch(size_t stretchIndex, size_t fromWord, bool audioAndSpeech)
{
    silence();
    m_stretch = stretchIndex;
    const Stretch& stretch = m_stretches[stretchIndex];
    m_next = std::clamp(fromWord, stretch.begin, stretch.end);
    std::vector<NarrationWord> words;
    for (size_t i = stretch.begin; i < stretch.end; ++i)
        words.push_back(NarrationWord { m_words[i].text, m_words[i].start, m_words[i].end });
    std::shared_ptr<NarrationPlayback> playback;
    if (audioAndSpeech) {
        playback = NarrationPlayback::audio(stretch.audioPath, bookFolder(m_book.get()), words, listenerFor(stretchIndex));
        if (!playback) {
            // A chapter is spoken in its book's language.
            const auto* epub = dynamic_cast<const EPUBBookVO*>(m_book.get());
            playback = NarrationPlayback::speech(words, listenerFor(stretchIndex), epub ? epub->meta.language : std::string());
        }
    }
    if (!playback)
        playback = NarrationPlayback::timings(std::move(words), listenerFor(stretchIndex));
    m_playback = playback;
    playback->setRate(m_rate);
    playback->play(m_next - stretch.begin);
}

void AudioSyncController::start()
{
    const size_t from = std::exchange(m_startWord, std::nullopt).value_or(0);
    m_playing = true;
    beginStretch(stretchOfWord(from), from, true);
}

void AudioSyncController::stop()
{
    silence();
    m_playing = false;
    m_stretch = 0;
    m_next = 0;
    m_startWord.reset();
}

void AudioSyncController::pause()
{
    if (!m_playing)
        return;
    m_playing = false;
    if (m_playback)
        m_playback->pause();
    if (auto delegate = m_delegate.lock())
        delegate->audioSyncDidPaused();
}

void AudioSyncController::resume()
{
    if (m_playing)
        return;
    m_playing = true;
    m_startWord.reset();
    if (m_playback)
        m_playback->resume();
    else
        beginStretch(m_stretch, m_next, true);
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
    m_rate = rate;
    if (m_playback)
        m_playback->setRate(rate);
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

size_t AudioSyncController::stretchOfWord(size_t wordIndex) const
{
    size_t stretch = 0;
    while (stretch + 1 < m_stretches.size() && wordIndex >= m_stretches[stretch].end)
        ++stretch;
    return stretch;
}

void AudioSyncController::moveTo(size_t wordIndex)
{
    const size_t stretch = stretchOfWord(wordIndex);
    if (m_playing) {
        if (m_playback && stretch == m_stretch) {
            m_next = wordIndex;
            m_playback->play(wordIndex - m_stretches[stretch].begin);
        } else {
            beginStretch(stretch, wordIndex, true);
        }
        return;
    }
    // Not playing: the word is where resuming, or starting, begins.
    silence();
    m_stretch = stretch;
    m_next = wordIndex;
    m_startWord = wordIndex;
}

void AudioSyncController::wordReached(size_t stretch, size_t localIndex)
{
    if (!m_playing || stretch != m_stretch)
        return;
    const size_t index = m_stretches[stretch].begin + localIndex;
    if (index >= m_stretches[stretch].end)
        return;
    m_next = index + 1;
    // The delegate may release this controller from inside a report.
    auto protect = shared_from_this();
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    const Word word = m_words[index];
    if (!word.wordId.empty()) {
        delegate->didJumpToTextWithWordId(word.wordId, m_pageId);
    } else {
        if (word.startsSentence)
            delegate->didJumpToSentenceWithWordFrames(sentenceFrames(index), m_pageId);
        delegate->didJumpToTextWithFrame(word.frame, m_pageId);
    }
}

void AudioSyncController::stretchEnded(size_t stretch)
{
    if (!m_playing || stretch != m_stretch)
        return;
    if (stretch + 1 < m_stretches.size()) {
        beginStretch(stretch + 1, m_stretches[stretch + 1].begin, true);
        return;
    }
    m_playing = false;
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->audioSyncdidCompleteForPageIdentifier(m_pageId);
}

void AudioSyncController::stretchFailed(size_t stretch, size_t localIndex)
{
    if (!m_playing || stretch != m_stretch)
        return;
    // Audio that broke off or a text no voice speaks: the rest of the stretch follows its
    // timings, so the page still ends and autoplay goes on.
    beginStretch(stretch, m_stretches[stretch].begin + localIndex, false);
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

} // namespace lectoro
