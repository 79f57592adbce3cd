// Renders the chat surfaces offscreen to PNG files, each in a light and a dark palette: the
// workbench with sample chats, a long history, the empty workbench, and the mini assistant with and
// without a conversation. The model runs on the test harness's in-memory services, with its history
// in a temporary folder. Every text shown is checked for a contrast of 4.5:1 against what is drawn
// under it; the program fails when one is lower.
//
//     ChatScreenshots [output folder]     (default: ./screenshots)

#include "AIWorkbenchView.h"
#include "AppModelHarness.h"
#include "ContrastAudit.h"
#include "LongChat.h"
#include "MiniAIView.h"
#include "PlimboConversationView.h"
#include "ReduceMotion.h"
#include "ScreenshotOutput.h"
#include "TurnScrollArea.h"

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <functional>

using namespace plimbo;
using namespace plimbo::test;

namespace {

void settleFor(const std::function<bool()>& done, int milliseconds = 2000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

QString g_scheme;

// Writes the picture as <name>-<scheme>.png and checks the contrast of its texts.
bool save(QWidget& widget, const QDir& folder, const QString& name) {
    widget.show();
    settleFor([] { return false; }, 150);
    const QString path =
        folder.filePath(name + QLatin1Char('-') + g_scheme + QStringLiteral(".png"));
    const bool written = screenshots::writeImage(widget.grab().toImage(), path);
    return screenshots::checkContrast(widget, name + QLatin1Char(' ') + g_scheme) && written;
}

QByteArray samplePicture() {
    QImage image(320, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(90, 140, 230));
    sky.setColorAt(1, QColor(250, 200, 150));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor(255, 230, 120));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(230, 70), 30, 30);
    painter.setBrush(QColor(60, 110, 70));
    painter.drawPolygon(QPolygonF{{0, 200}, {110, 90}, {220, 200}});
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QList<AIChatSession> sampleChats(const AppModelHarness& harness) {
    const QDateTime now = harness.clock->now();
    const AIChatAttachment plan = harness.storeAttachment(
        QByteArray(248000, 'p'), QStringLiteral("afternoon-plan.pdf"), AIChatAttachmentKind::pdf);
    const AIChatTurn planning(
        QUuid::createUuid(), QStringLiteral("Summarize this plan and tell me what to do first."),
        QStringLiteral("## First things first\n\nStart with the **single most meaningful task**, "
                       "then protect the rest of the afternoon:\n\n1. Focus for 45 minutes.\n"
                       "2. Take a short break.\n3. Review what changed.\n\n> Small steps beat "
                       "big plans.\n\n```sh\ntimer 45m && notify \"break\"\n```"),
        now.addSecs(-1800), AIChatTurnState::completed, {plan});
    const AIChatTurn followUp(QUuid::createUuid(), QStringLiteral("And after the break?"),
                              QStringLiteral("Pick the next item from the list and keep the "
                                             "same rhythm. See [the guide](https://example.com/"
                                             "focus) for more ideas."),
                              now.addSecs(-1700), AIChatTurnState::completed, {});
    const AIChatTurn stopped(QUuid::createUuid(), QStringLiteral("Draft a reply to Sam."),
                             QString(), now.addSecs(-1600), AIChatTurnState::stopped, {});
    AIChatTurn failed(QUuid::createUuid(), QStringLiteral("And one for Alex."), QString(),
                      now.addSecs(-1550), AIChatTurnState::failed, {});
    failed.failureMessage = QStringLiteral("OpenRouter is not reachable. Check your connection.");
    AIChatSession focus{QUuid::createUuid(),
                        QStringLiteral("Focused afternoon plan"),
                        {planning, followUp, stopped, failed},
                        now.addSecs(-1800),
                        now.addSecs(-1600)};

    const AIChatTurn warm(QUuid::createUuid(), QStringLiteral("Make this message sound warmer."),
                          QStringLiteral("Of course — paste the message here and I'll keep the "
                                         "meaning while making the tone more welcoming."),
                          now.addDays(-1), AIChatTurnState::completed, {});
    AIChatSession warmChat{QUuid::createUuid(),
                           QStringLiteral("Warm up a message"),
                           {warm},
                           now.addDays(-1),
                           now.addDays(-1)};

    const AIChatTurn recipe(QUuid::createUuid(), QStringLiteral("A quick dinner idea?"),
                            QStringLiteral("- Pasta with *lemon* and peas\n- A big salad\n"
                                           "- Soup from yesterday's vegetables"),
                            now.addDays(-9), AIChatTurnState::completed, {});
    AIChatSession dinner{QUuid::createUuid(),
                         QStringLiteral("Dinner ideas"),
                         {recipe},
                         now.addDays(-9),
                         now.addDays(-9)};
    return {focus, warmChat, dinner};
}

} // namespace

int main(int argc, char** argv) {
    screenshots::preferOffscreen();
    QApplication application(argc, argv);
    ReduceMotion::instance().setEnabled(true); // still pictures: no fades half-way
    const QDir folder = screenshots::outputFolder(argc, argv);
    bool ok = true;

    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? screenshots::darkPalette() : screenshots::lightPalette());
        g_scheme = dark ? QStringLiteral("dark") : QStringLiteral("light");
        {
            AppModelHarness harness;
            harness.clock->set(QDateTime::currentDateTimeUtc());
            harness.storeKey(QStringLiteral("sk-or-sample"));
            harness.writeHistory(sampleChats(harness));
            std::unique_ptr<AppModel> model = harness.makeModel();
            model->addAIAttachments(
                {harness.sourceFile(QStringLiteral("reference.png"), samplePicture()),
                 harness.sourceFile(QStringLiteral("notes.md"), "# Notes\n")});
            settleFor([&] { return !model->isAddingAIAttachments(); });
            model->setAiInput(QStringLiteral("Can you turn this into a checklist?"));
            AIWorkbenchView workbench(model->chatFeatures(), harness.clock);
            workbench.resize(1100, 760);
            ok = save(workbench, folder, QStringLiteral("chat-workbench")) && ok;
        }
        {
            // The sent attachments of a prompt, in its bubble.
            AppModelHarness harness;
            harness.storeKey(QStringLiteral("sk-or-sample"));
            AIChatSession chat = sampleChats(harness).first();
            chat.turns = chat.turns.mid(0, 1);
            chat.turns.first().attachments.append(
                harness.storeAttachment(QByteArray(5200, 't'), QStringLiteral("meeting-notes.md"),
                                        AIChatAttachmentKind::text));
            harness.writeHistory({chat});
            std::unique_ptr<AppModel> model = harness.makeModel();
            AIWorkbenchView workbench(model->chatFeatures(), harness.clock);
            workbench.resize(1100, 760);
            ok = save(workbench, folder, QStringLiteral("chat-workbench-attachments")) && ok;
        }
        {
            // A long history: the newest of many 100-turn chats, at its end and half-way up.
            AppModelHarness harness;
            harness.clock->set(QDateTime(QDate(2026, 11, 30), QTime(12, 0), Qt::UTC));
            harness.storeKey(QStringLiteral("sk-or-sample"));
            harness.writeHistory(fullHistory(30, 100));
            std::unique_ptr<AppModel> model = harness.makeModel();
            AIWorkbenchView workbench(model->chatFeatures(), harness.clock);
            workbench.resize(1100, 760);
            ok = save(workbench, folder, QStringLiteral("chat-workbench-long")) && ok;
            QScrollBar* bar = workbench.conversation()->messages()->verticalScrollBar();
            while (bar->value() > bar->maximum() / 2) {
                bar->setValue(bar->value() - 120);
                QCoreApplication::processEvents();
            }
            ok = save(workbench, folder, QStringLiteral("chat-workbench-long-scrolled")) && ok;
        }
        {
            AppModelHarness harness;
            std::unique_ptr<AppModel> model = harness.makeModel();
            AIWorkbenchView workbench(model->chatFeatures(), harness.clock);
            workbench.resize(1100, 760);
            ok = save(workbench, folder, QStringLiteral("chat-workbench-empty")) && ok;
        }
        {
            AppModelHarness harness;
            harness.storeKey(QStringLiteral("sk-or-sample"));
            std::unique_ptr<AppModel> model = harness.makeModel();
            MiniAIView mini(model->chatFeatures(), {}, {}, {});
            mini.setAttribute(Qt::WA_TranslucentBackground);
            mini.resize(420, 112);
            ok = save(mini, folder, QStringLiteral("mini-assistant-composer")) && ok;
        }
        {
            AppModelHarness harness;
            harness.storeKey(QStringLiteral("sk-or-sample"));
            harness.writeHistory(sampleChats(harness).mid(1, 1));
            std::unique_ptr<AppModel> model = harness.makeModel();
            model->setAiInput(QStringLiteral("Shorter, please"));
            model->sendAI();
            settleFor([&] { return !harness.ai->calls.isEmpty(); });
            if (!harness.ai->calls.isEmpty()) {
                harness.ai->text(
                    QStringLiteral("Here is a **shorter** version:\n\n- Thanks so much "
                                   "for your help!"));
                harness.ai->finishEvent();
                harness.ai->end();
            }
            settleFor([&] { return !model->isGenerating(); });
            model->addAIAttachments(
                {harness.sourceFile(QStringLiteral("photo.png"), samplePicture())});
            settleFor([&] { return !model->isAddingAIAttachments(); });
            MiniAIView mini(model->chatFeatures(), {}, {}, {});
            mini.resize(420, 410 + 86);
            ok = save(mini, folder, QStringLiteral("mini-assistant-conversation")) && ok;
        }
    }
    return ok ? 0 : 1;
}
