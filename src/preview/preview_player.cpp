#include "preview/preview_player.h"

#include "gui/qt_text.h"
#include "images/picture_loader.h"
#include "platform/files.h"
#include "player/play_session.h"

#include <Qt>
#include <algorithm>
#include <type_traits>

namespace pagora {
namespace {

constexpr int kFrameMs = 16;
constexpr int kLimitTickMs = 50;
// Messages are laid out with room for every line; the reveal decides what
// of them the frame shows.
constexpr int kUnboundedHeight = 1 << 20;

QString faultText(const PlayFault& fault) {
    return (fault.level == FaultLevel::Fault ? QStringLiteral("エラー: ")
                                             : QStringLiteral("警告: ")) +
           qtText(fault.message);
}

QString dataText(DataScope scope, const std::string& name) {
    switch (scope) {
    case DataScope::All:
        return QStringLiteral("「%1」").arg(qtText(name));
    case DataScope::Value:
        return QStringLiteral("数値変数 %1").arg(qtText(name));
    case DataScope::String:
        return QStringLiteral("文字列変数 %1").arg(qtText(name));
    }
    return {};
}

std::optional<TimeLimit> limitOf(const PlayDetail& detail) {
    std::optional<TimeLimit> limit;
    std::visit(
        [&](const auto& waited) {
            if constexpr (requires { waited.limit; })
                if (waited.limit.seconds > 0)
                    limit = waited.limit;
        },
        detail);
    return limit;
}

int fontSizeOr(int size) {
    return size > 0 ? std::clamp(size, kMinMessageSize, kMaxMessageSize) : MessageStyle{}.size;
}

std::array<PlayWindowLook, kPlayWindowCount> windowLooks(const TComicFileCtrl& comic) {
    std::array<PlayWindowLook, kPlayWindowCount> looks;
    for (int window = 0; window < kPlayWindowCount; ++window)
        looks[static_cast<std::size_t>(window)] = readPlayWindow(comic, window);
    return looks;
}

} // namespace

PreviewPlayer::PreviewPlayer(const PreviewSource& source, QObject* parent)
    : QObject(parent)
    , comic_(notes_)
    , fileName_(source.fileName)
    , usePlugIns_(source.usePlugIns)
    , plugInMask_(source.plugInMask) {
    comic_.LoadFromBytes(source.comic.SaveToBytes());
    if (!fileName_.empty())
        files_.emplace(comicFolder(fileName_), comic_.ReadHeader("Comic", "DataDirectory", ""));
    session_ = std::make_unique<PlaySession>(comic_, clock_, random_);
    stage_ = std::make_unique<PreviewStage>(windowLooks(comic_));
    const auto makePlayer = [&]() -> std::unique_ptr<MediaPlayer> {
        if (source.makeMediaPlayer)
            return source.makeMediaPlayer();
        return std::make_unique<SilentMediaPlayer>();
    };
    music_ = makePlayer();
    sound_ = makePlayer();
    music_->setStoppedHandler([this] {
        if (musicLoopsLeft_ == 1)
            return;
        if (musicLoopsLeft_ > 1)
            --musicLoopsLeft_;
        music_->play();
    });
    sound_->setStoppedHandler([this] {
        if (!waitingForSound_)
            return;
        waitingForSound_ = false;
        if (phase_ == Phase::Timed)
            goOn();
    });

    stepTimer_.setSingleShot(true);
    connect(&stepTimer_, &QTimer::timeout, this, [this] {
        if (phase_ == Phase::Showing && reveal_) {
            ++reveal_->step;
            showRevealStep();
        } else if (phase_ == Phase::Timed) {
            goOn();
        }
    });
    frameTimer_.setInterval(kFrameMs);
    connect(&frameTimer_, &QTimer::timeout, this, &PreviewPlayer::transitionTick);
    limitTimer_.setInterval(kLimitTickMs);
    connect(&limitTimer_, &QTimer::timeout, this, &PreviewPlayer::limitTick);
}

PreviewPlayer::~PreviewPlayer() {
    stop();
}

void PreviewPlayer::start(const std::string& book, const std::string& page) {
    session_->start(book, page);
    run();
}

void PreviewPlayer::startAtStartPage() {
    session_->startAtStartPage();
    run();
}

void PreviewPlayer::stop() {
    stepTimer_.stop();
    frameTimer_.stop();
    limitTimer_.stop();
    music_->stop();
    sound_->stop();
    waitingForSound_ = false;
    stage_->setGauge(std::nullopt);
    phase_ = Phase::Ended;
}

void PreviewPlayer::run() {
    if (running_)
        return;
    running_ = true;
    while (phase_ == Phase::Idle) {
        current_ = session_->next();
        show(current_);
        if (phase_ == Phase::Idle)
            afterShow();
    }
    running_ = false;
    Q_EMIT placeChanged();
    Q_EMIT changed();
}

void PreviewPlayer::goOn() {
    phase_ = Phase::Idle;
    run();
}

void PreviewPlayer::note(const QString& text) {
    Q_EMIT noted(text);
}

void PreviewPlayer::show(const PlayEvent& event) {
    std::visit(
        [&](const auto& e) {
            using Event = std::decay_t<decltype(e)>;
            const int window = [&] {
                if constexpr (requires { e.window; })
                    return playWindowIndex(e.window);
                return 0;
            }();
            if constexpr (std::is_same_v<Event, MessageShown>)
                showMessage(e);
            else if constexpr (std::is_same_v<Event, PictureShown>)
                showPicture(e);
            else if constexpr (std::is_same_v<Event, MusicStarted>)
                startMusic(e);
            else if constexpr (std::is_same_v<Event, MusicStopped>)
                music_->stop();
            else if constexpr (std::is_same_v<Event, SoundStarted>)
                startSound(e);
            else if constexpr (std::is_same_v<Event, WindowShown>) {
                stage_->showWindow(window, e.shown);
                if (!e.shown)
                    stage_->clearText(window);
            } else if constexpr (std::is_same_v<Event, AreaAdded>)
                addArea(e);
            else if constexpr (std::is_same_v<Event, AreasCleared>)
                stage_->clearAreas(window);
            else if constexpr (std::is_same_v<Event, AreaSelected>)
                selectArea(e);
            else if constexpr (std::is_same_v<Event, MenuCalled>)
                note(QStringLiteral("メニューの呼び出し: %1").arg(qtText(e.operation)));
            else if constexpr (std::is_same_v<Event, SaveNameSet>)
                note(QStringLiteral("セーブ名: %1").arg(qtText(e.name)));
            else if constexpr (std::is_same_v<Event, DataSaved>)
                note(QStringLiteral("セーブしました: %1").arg(dataText(e.scope, e.name)));
            else if constexpr (std::is_same_v<Event, DataLoaded>)
                note((e.found ? QStringLiteral("ロードしました: %1")
                              : QStringLiteral("セーブされていません: %1"))
                         .arg(dataText(e.scope, e.name)));
            else if constexpr (std::is_same_v<Event, PlayFault>) {
                lastFault_ = faultText(e);
                note(lastFault_);
            } else if constexpr (std::is_same_v<Event, PlayEnded>)
                // The fault that ended play stays in the line that says so.
                note(e.reason == EndReason::Fault
                         ? QStringLiteral("プレビューを終了しました（%1）").arg(lastFault_)
                         : QStringLiteral("プレビューが終わりました"));
        },
        event.detail);
}

void PreviewPlayer::afterShow() {
    if (std::holds_alternative<PlayEnded>(current_.detail)) {
        stop();
        stage_->presentPending();
        Q_EMIT playEnded();
        return;
    }
    switch (current_.wait) {
    case PlayWait::None:
        phase_ = Phase::Idle;
        return;
    case PlayWait::Time:
        stage_->presentPending();
        if (const auto* wait = std::get_if<TimePassing>(&current_.detail)) {
            phase_ = Phase::Timed;
            stepTimer_.start(std::max(wait->milliseconds, 0));
        } else {
            phase_ = waitingForSound_ ? Phase::Timed : Phase::Idle;
        }
        return;
    case PlayWait::Reader:
        startReader();
        return;
    }
}

// --- messages ---

void PreviewPlayer::showMessage(const MessageShown& shown) {
    const int window = playWindowIndex(shown.window);
    const PlayWindowLook& look = stage_->look(window);
    const PictureFrame frame = frameIn(shown.pos, look);
    MessageText message;
    message.text = shown.text;
    message.left = frame.left;
    message.top = frame.top;
    message.right = frame.right;
    message.bottom = frame.top + kUnboundedHeight;
    message.fontName = look.fontName;
    message.style = {fontSizeOr(shown.fontSize), look.bold, look.italic};
    message.color = shown.color;
    const ModeMeaning& mode = modeMeaning(shown.mode);
    const RevealPlan plan{mode.reveal,           mode.overflow, shown.speed,
                          shown.keyWaitEachLine, frame.top,     frame.bottom};
    reveal_ = RevealRun{
        shown,
        std::make_unique<MessageReveal>(stage_->layout(message), revealMarks(shown.text), plan),
        0,
        {look.fontName, frame, {}, look.shadow, look.shadowColor}};
    phase_ = Phase::Showing;
    showRevealStep();
}

void PreviewPlayer::showRevealStep() {
    const std::vector<RevealStep>& steps = reveal_->reveal->steps();
    for (;;) {
        const RevealStep& step = steps[reveal_->step];
        reveal_->text.pieces = reveal_->reveal->shown(step.chars);
        stage_->setText(reveal_->message.window, reveal_->text);
        if (step.keyWait) {
            phase_ = Phase::RevealKey;
            Q_EMIT changed();
            return;
        }
        if (reveal_->step + 1 == steps.size()) {
            finishReveal();
            return;
        }
        if (step.pauseMs > 0) {
            phase_ = Phase::Showing;
            stepTimer_.start(step.pauseMs);
            Q_EMIT changed();
            return;
        }
        ++reveal_->step;
    }
}

void PreviewPlayer::skipReveal() {
    stepTimer_.stop();
    const std::vector<RevealStep>& steps = reveal_->reveal->steps();
    ++reveal_->step;
    while (reveal_->step + 1 < steps.size() && !steps[reveal_->step].keyWait)
        ++reveal_->step;
    phase_ = Phase::Showing;
    showRevealStep();
}

void PreviewPlayer::finishReveal() {
    const MessageShown& shown = reveal_->message;
    if (kDrawMeanings[shown.drawNormal ? 1 : 0] == TextLife::Kept)
        stage_->keepText(shown.window);
    reveal_.reset();
    phase_ = Phase::Idle;
    if (running_)
        return;
    afterShow();
    run();
}

// --- pictures ---

void PreviewPlayer::showPicture(const PictureShown& shown) {
    const int window = playWindowIndex(shown.window);
    const PlayWindowLook& look = stage_->look(window);
    const PictureFrame frame = frameIn(shown.pos, look);
    if (TTC* source = picture(shown.file))
        stage_->drawPicture(window, *source, frame,
                            {{shown.viewLeft, shown.viewTop},
                             shown.fitToPos,
                             shown.useTransparent,
                             shown.autoTransparentColor,
                             shown.halfTransparent,
                             shown.transparentColor});
    if (!shown.showAtOnce)
        return;
    const EffectMeaning& effect = effectMeaning(shown.effect);
    const CanvasRect area = effect.partial
                                ? CanvasRect{frame.left, frame.top, frame.width(), frame.height()}
                                : CanvasRect{0, 0, look.width, look.height};
    stage_->present(window, effect.transition, area, seed_++);
    if (!stage_->transitionRunning())
        return;
    phase_ = Phase::Showing;
    transitionMs_ = std::max(effect.durationMs, 1);
    transitionClock_.start();
    frameTimer_.start();
}

void PreviewPlayer::transitionTick() {
    const double progress = static_cast<double>(transitionClock_.elapsed()) / transitionMs_;
    if (progress >= 1) {
        finishTransition();
        return;
    }
    stage_->setTransitionProgress(progress);
    Q_EMIT changed();
}

void PreviewPlayer::finishTransition() {
    frameTimer_.stop();
    stage_->setTransitionProgress(1);
    phase_ = Phase::Idle;
    Q_EMIT changed();
    if (running_)
        return;
    afterShow();
    run();
}

TTC* PreviewPlayer::picture(const std::string& name) {
    const auto known = pictures_.find(name);
    if (known != pictures_.end())
        return known->second ? &*known->second : nullptr;
    std::optional<TTC>& kept = pictures_[name];
    const std::filesystem::path file = dataFile(name);
    if (file.empty()) {
        note(QStringLiteral("画像ファイルが見つかりません: %1").arg(qtText(name)));
        return nullptr;
    }
    PictureLoad load = loadPicture(file, pictureReaders(usePlugIns_), plugInMask_, notes_);
    if (!load.picture) {
        note(QStringLiteral("この画像ファイルは読み込めません: %1").arg(qtText(name)));
        return nullptr;
    }
    kept.emplace(load.picture->Width, load.picture->Height);
    CopyPictureToCanvas(*load.picture, 0, 0, *kept);
    return &*kept;
}

// --- sound ---

std::filesystem::path PreviewPlayer::dataFile(const std::string& name) {
    if (!files_)
        return {};
    return files_->find(name);
}

bool PreviewPlayer::play(MediaPlayer& player, const std::string& name) {
    const std::filesystem::path file = dataFile(name);
    if (file.empty()) {
        note(QStringLiteral("ファイルが見つかりません: %1").arg(qtText(name)));
        return false;
    }
    std::optional<MediaError> error = player.open(file);
    if (!error)
        error = player.play();
    if (!error)
        return true;
    if (error->failure != MediaFailure::NoDevice)
        note(QStringLiteral("%1: %2").arg(qtText(name),
                                          QString::fromStdString(mediaErrorText(*error))));
    else if (!soundless_)
        note(QStringLiteral("サウンドデバイスが見つかりません（音なしで続けます）"));
    soundless_ = soundless_ || error->failure == MediaFailure::NoDevice;
    return false;
}

void PreviewPlayer::startMusic(const MusicStarted& music) {
    music_->stop();
    musicLoopsLeft_ = std::max(music.loopCount, 0);
    play(*music_, music.file);
}

void PreviewPlayer::startSound(const SoundStarted& sound) {
    sound_->stop();
    waitingForSound_ = play(*sound_, sound.file) && sound.waitEnd;
}

// --- areas and choices ---

void PreviewPlayer::addArea(const AreaAdded& added) {
    StageArea area{added.area, {}, AreaState::Normal};
    if (!added.area.imageFile.empty())
        if (const TTC* image = picture(added.area.imageFile))
            area.image = *image;
    stage_->addArea(added.window, std::move(area));
}

void PreviewPlayer::selectArea(const AreaSelected& selected) {
    const std::vector<StageArea>& areas = stage_->areas(selected.window);
    for (std::size_t index = areas.size(); index-- > 0;)
        if (areas[index].area == selected.area) {
            stage_->setAreaState(selected.window, index, AreaState::Selected);
            return;
        }
}

void PreviewPlayer::offerChoices(const ChoicesOffered& offered) {
    const int window = playWindowIndex(offered.window);
    if (!stage_->shown(window)) {
        stage_->showWindow(window, true);
        choiceWindowHidden_ = window;
    }
    StageChoices choices;
    choices.window = window;
    for (const Choice& choice : offered.choices)
        choices.texts.push_back(choice.text);
    choices.frame = frameIn(offered.pos, stage_->look(window));
    choices.fontSize = fontSizeOr(offered.fontSize);
    choices.color = offered.color;
    stage_->offerChoices(std::move(choices));
}

// --- the reader ---

void PreviewPlayer::startReader() {
    phase_ = Phase::Reader;
    stage_->presentPending();
    limit_ = limitOf(current_.detail);
    if (limit_) {
        limitClock_.start();
        limitTimer_.start();
        if (limit_->gauge)
            stage_->setGauge(1.0);
    }
    if (const auto* offered = std::get_if<ChoicesOffered>(&current_.detail))
        offerChoices(*offered);
    if (const auto* asked = std::get_if<TextAsked>(&current_.detail))
        Q_EMIT textAsked(qtText(asked->title), qtText(asked->prompt));
}

void PreviewPlayer::endReader() {
    limitTimer_.stop();
    limit_.reset();
    stage_->setGauge(std::nullopt);
    stage_->clearChoices();
    if (choiceWindowHidden_)
        stage_->showWindow(*choiceWindowHidden_, false);
    choiceWindowHidden_.reset();
    if (std::holds_alternative<TextAsked>(current_.detail))
        Q_EMIT inputClosed();
}

void PreviewPlayer::limitTick() {
    if (!limit_)
        return;
    const double total = limit_->seconds * 1000.0;
    const double elapsed = static_cast<double>(limitClock_.elapsed());
    if (elapsed >= total) {
        answer(PlayAnswer::timeout());
        return;
    }
    if (limit_->gauge) {
        stage_->setGauge(1.0 - elapsed / total);
        Q_EMIT changed();
    }
}

bool PreviewPlayer::answer(const PlayAnswer& given) {
    if (phase_ != Phase::Reader || !session_->answer(given))
        return false;
    endReader();
    goOn();
    return true;
}

void PreviewPlayer::proceed(const PlayAnswer& given) {
    switch (phase_) {
    case Phase::Showing:
        if (reveal_)
            skipReveal();
        else
            finishTransition();
        return;
    case Phase::RevealKey:
        if (reveal_->step + 1 == reveal_->reveal->steps().size()) {
            finishReveal();
            return;
        }
        ++reveal_->step;
        phase_ = Phase::Showing;
        showRevealStep();
        return;
    case Phase::Timed:
        if (waitingForSound_) {
            sound_->stop();
            waitingForSound_ = false;
            goOn();
        }
        return;
    case Phase::Reader:
        answer(given);
        return;
    case Phase::Idle:
    case Phase::Ended:
        return;
    }
}

void PreviewPlayer::key(int qtKey) {
    const bool choosing = phase_ == Phase::Reader && stage_->choiceCount() > 0;
    if (choosing && (qtKey == Qt::Key_Up || qtKey == Qt::Key_Down)) {
        stage_->highlightChoice(stage_->highlightedChoice() + (qtKey == Qt::Key_Up ? -1 : 1));
        Q_EMIT changed();
        return;
    }
    if (choosing && (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)) {
        answer(PlayAnswer::choose(stage_->highlightedChoice()));
        return;
    }
    proceed(PlayAnswer::key());
}

void PreviewPlayer::click(int x, int y) {
    if (phase_ == Phase::Reader && stage_->choiceCount() > 0) {
        if (const std::optional<int> choice = stage_->choiceAt(x, y))
            answer(PlayAnswer::choose(*choice));
        return;
    }
    const PicturePoint at = stage_->toMain(x, y);
    proceed(PlayAnswer::click(at.x, at.y));
}

void PreviewPlayer::hover(int x, int y) {
    if (const std::optional<int> choice = stage_->choiceAt(x, y)) {
        stage_->highlightChoice(*choice);
    }
    const PicturePoint at = stage_->toMain(x, y);
    const std::optional<PlaySession::AreaHit> hit = session_->areaAt(at.x, at.y);
    for (int window = 0; window < kPlayWindowCount; ++window) {
        const std::vector<StageArea>& areas = stage_->areas(window);
        for (std::size_t index = 0; index < areas.size(); ++index) {
            if (areas[index].state == AreaState::Selected)
                continue;
            const bool over = hit && hit->window == window && hit->index == index;
            stage_->setAreaState(window, index, over ? AreaState::MouseOver : AreaState::Normal);
        }
    }
    pointing_ = hit && session_->window(hit->window).areas[hit->index].cursorChange;
    Q_EMIT changed();
}

void PreviewPlayer::typeText(const std::string& cp932) {
    answer(PlayAnswer::typed(cp932));
}

} // namespace pagora
