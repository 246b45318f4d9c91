// The user guide's window as its readers use it: F1 in each window, the contents list, the search
// and its hits, back and forward, the keys that close it, and the page as a screen reader walks
// it by heading and link.
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

#include "RunningAppFixture.h"
#include "app/ui/CommandIds.h"
#include "app/ui/GuideTopics.h"
#include "app/ui/GuideWindow.h"
#include "framework/ui/ControlIds.h"

namespace tavrin {
namespace {

using testing::ClickAsTheUser;
using testing::CommitText;
using testing::Focused;
using testing::WhenModal;

constexpr char kGuideFolder[] = TAVRIN_SOURCE_DIR "/docs/guide";

QString ReadPage(const QString& file) {
  QFile page(QStringLiteral("%1/%2").arg(QLatin1String(kGuideFolder), file));
  EXPECT_TRUE(page.open(QIODevice::ReadOnly)) << file.toStdString();
  return QString::fromUtf8(page.readAll());
}

// The headings of a page as its Markdown writes them.
QStringList Headings(const QString& file) {
  QStringList headings;
  for (const QString& line : ReadPage(file).split('\n')) {
    const QRegularExpressionMatch heading = QRegularExpression("^#+ (.*)$").match(line);
    if (heading.hasMatch()) headings << heading.captured(1);
  }
  return headings;
}

// The texts of the links of a page as its Markdown writes them, in order.
QStringList LinkTexts(const QString& file) {
  QStringList links;
  auto found = QRegularExpression(R"((?<!!)\[([^\]]+)\]\([^)]+\))").globalMatch(ReadPage(file));
  while (found.hasNext()) links << found.next().captured(1);
  return links;
}

// Every accessible object under `root`, depth first, with its role.
void Walk(QAccessibleInterface* root, QList<QAccessibleInterface*>& all) {
  for (int i = 0; i < root->childCount(); ++i) {
    QAccessibleInterface* child = root->child(i);
    if (child == nullptr) continue;
    all << child;
    Walk(child, all);
  }
}

QStringList NamesOf(QAccessibleInterface* root, QAccessible::Role role) {
  QList<QAccessibleInterface*> all;
  Walk(root, all);
  QStringList names;
  for (QAccessibleInterface* object : all)
    if (object->role() == role) names << object->text(QAccessible::Name);
  return names;
}

// What a screen reader says is in focus: the name of the object that has the keyboard, or of
// the part of it that does (a link of the page).
QString InFocus() {
  QAccessibleInterface* control =
      QAccessible::queryAccessibleInterface(QApplication::focusWidget());
  if (control == nullptr) return QStringLiteral("(nothing)");
  if (QAccessibleInterface* part = control->focusChild()) control = part;
  return control->text(QAccessible::Name);
}

class GuideWindowTest : public testing::RunningAppFixture {
 protected:
  void StartWithGuide() {
    AppServices withGuide = services();
    withGuide.shippedData = {TAVRIN_SOURCE_DIR "/docs"};
    app_ = std::make_unique<CTavrinApp>(withGuide);
    ASSERT_TRUE(app_->InitInstance({}));
    WriteHolidayFile();
  }
  GuideWindow* guide() { return app_->view()->guideWindow(); }
  // The guide from the Help menu, on the screen and the active window.
  void OpenGuide() {
    Command(ID_HELP_GUIDE);
    ASSERT_NE(guide(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(guide()));
    QApplication::setActiveWindow(guide());
  }
  QPushButton* Button(const QString& text) {
    for (QPushButton* button : guide()->findChildren<QPushButton*>())
      if (button->text() == text) return button;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
  }
  // F1 in the main window.
  void HelpOnMainWindow() { QTest::keyClick(Focused(app_->frame()), Qt::Key_F1); }
};

TEST_F(GuideWindowTest, F1InEachWindowOpensThePageAboutItAndTheGuideWorksBesideIt) {
  StartWithGuide();
  const struct {
    const char* window;
    std::function<void()> open;  // opens a modal window, which the test closes
    const char* page;
  } cases[] = {
      {"チャンネル設定",
       [this] { QTest::mouseClick(app_->view()->editorButton(0), Qt::LeftButton); }, "channels.md"},
      {"週間プログラム",
       [this] { QTest::mouseClick(app_->view()->editorButton(1), Qt::LeftButton); }, "weekly.md"},
      {"年間プログラム",
       [this] { QTest::mouseClick(app_->view()->editorButton(2), Qt::LeftButton); }, "annual.md"},
      {"サマータイム", [this] { QTest::mouseClick(app_->view()->editorButton(3), Qt::LeftButton); },
       "summer-time.md"},
      {"ラジオ選局", [this] { QTest::mouseClick(app_->view()->editorButton(4), Qt::LeftButton); },
       "radio.md"},
      {"予定表", [this] { Command(ID_VIEW_AGENDA); }, "review.md"},
      {"スケジュールの確認", [this] { Command(ID_VIEW_CHECK); }, "review.md"},
      {"次の年度を作成", [this] { Command(ID_EDIT_NEXT_YEAR); }, "next-school-year.md"},
      {"バージョン情報", [this] { AltKey(Qt::Key_A); }, "main-window.md"},
      {"特殊メニュー",
       [this] {
         AltKey(Qt::Key_J);
         AltKey(Qt::Key_V);
       },
       "maintenance.md"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    std::string shown;
    std::string afterClick;
    WhenModal([&](QWidget* modal) {
      QTest::keyClick(Focused(modal), Qt::Key_F1);
      if (guide() != nullptr) {
        shown = guide()->CurrentPage();
        // The modal window does not hold the guide: a click there reaches it.
        ClickAsTheUser(Button(QStringLiteral("目次(&C)")));
        afterClick = guide()->CurrentPage();
      }
      QTest::keyClick(Focused(modal), Qt::Key_Escape);
    });
    c.open();
    EXPECT_EQ(shown, c.page);
    EXPECT_EQ(afterClick, "index.md");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  HelpOnMainWindow();
  EXPECT_EQ(guide()->CurrentPage(), "main-window.md");
  EXPECT_EQ(app_->frame()->findChildren<GuideWindow*>().size(), 1) << "one guide window";
  EXPECT_EQ(guide()->windowTitle(), QStringLiteral("Tavrin 使い方"));
}

TEST_F(GuideWindowTest, BelowAClosedModalWindowTheNextOneDoesNotHoldTheGuideEither) {
  StartWithGuide();
  std::string inCalendar, besideSheet;
  WhenModal([&](QWidget* sheet) {
    WhenModal([&](QWidget* calendar) {
      QTest::keyClick(Focused(calendar), Qt::Key_F1);
      inCalendar = guide()->CurrentPage();
      QTest::keyClick(Focused(calendar), Qt::Key_Escape);
    });
    testing::Click(sheet, ids::annual::kConfirmSingle);
    QTest::qWait(50);
    ClickAsTheUser(Button(QStringLiteral("目次(&C)")));
    besideSheet = guide()->CurrentPage();
    QTest::keyClick(Focused(sheet), Qt::Key_Escape);
  });
  QTest::mouseClick(app_->view()->editorButton(2), Qt::LeftButton);
  EXPECT_EQ(inCalendar, "annual.md");
  EXPECT_EQ(besideSheet, "index.md");
}

TEST_F(GuideWindowTest, EveryWindowF1KnowsHasItsPageInTheGuide) {
  const std::optional<UserGuide> shipped = LoadGuide(kGuideFolder);
  ASSERT_TRUE(shipped);
  for (const std::string& page : GuideTopicPages()) {
    EXPECT_NE(shipped->Page(page), nullptr) << page;
  }
}

TEST_F(GuideWindowTest, TheHelpMenuOpensTheContentsAndItsLinesOpenTheirPages) {
  StartWithGuide();
  OpenGuide();
  EXPECT_EQ(guide()->CurrentPage(), "index.md");
  QTreeWidget* contents = guide()->contentsList();
  // By mouse, a line inside a group; by keyboard, the line below it.
  QTreeWidgetItem* weekly =
      contents
          ->findItems(QStringLiteral("週間プログラムを作る"), Qt::MatchExactly | Qt::MatchRecursive)
          .value(0);
  testing::ClickTreeItem(contents, weekly);
  EXPECT_EQ(guide()->CurrentPage(), "weekly.md");
  EXPECT_EQ(guide()->browser()->toPlainText().section('\n', 0, 0), Headings("weekly.md")[0]);
  QTest::keyClick(contents, Qt::Key_Down);
  QTest::keyClick(contents, Qt::Key_Return);
  EXPECT_EQ(guide()->CurrentPage(), "annual.md");
  // A line that is only a heading opens nothing.
  testing::ClickTreeItem(contents, contents->topLevelItem(1));
  EXPECT_EQ(guide()->CurrentPage(), "annual.md");
}

TEST_F(GuideWindowTest, BackAndForwardRetraceThePagesRead) {
  StartWithGuide();
  OpenGuide();
  QPushButton* back = Button(QStringLiteral("戻る(&B)"));
  QPushButton* forward = Button(QStringLiteral("進む(&N)"));
  EXPECT_FALSE(back->isEnabled());
  EXPECT_FALSE(forward->isEnabled());
  guide()->ShowPage("terms.md");
  guide()->ShowPage("trouble.md");
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(guide()->CurrentPage(), "terms.md");
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(guide()->CurrentPage(), "index.md");
  EXPECT_FALSE(back->isEnabled());
  QTest::mouseClick(forward, Qt::LeftButton);
  EXPECT_EQ(guide()->CurrentPage(), "terms.md");
  // The page marks itself in the contents.
  EXPECT_EQ(guide()->contentsList()->currentItem()->text(0), QStringLiteral("ことばの意味"));
}

TEST_F(GuideWindowTest, ASearchListsItsHitsAndAHitOpensItsPageAtThePlace) {
  StartWithGuide();
  OpenGuide();
  // The first page in the contents' order whose text has the word.
  std::string expectedPage;
  for (const QString& link :
       QStringList{"main-window.md", "channels.md", "weekly.md", "annual.md", "saving.md"}) {
    if (ReadPage(link).contains(QStringLiteral("上書き保存"))) {
      expectedPage = link.toStdString();
      break;
    }
  }
  ASSERT_EQ(expectedPage, "main-window.md");
  QTest::keyClick(Focused(guide()), Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(QApplication::focusWidget(), guide()->searchField());
  CommitText(guide()->searchField(), QStringLiteral("上書き保存"));
  QTest::keyClick(guide()->searchField(), Qt::Key_Return);
  EXPECT_EQ(guide()->CurrentPage(), "") << "the hits are a page of their own";
  EXPECT_TRUE(
      guide()->browser()->toPlainText().startsWith(QStringLiteral("「上書き保存」の検索結果")));
  // Tab from hit to hit; Enter follows the one in focus.
  ASSERT_EQ(QApplication::focusWidget(), guide()->browser());
  QTest::keyClick(guide()->browser(), Qt::Key_Tab);
  QTest::keyClick(guide()->browser(), Qt::Key_Return);
  EXPECT_EQ(guide()->CurrentPage(), expectedPage);
  const QTextCursor place = guide()->browser()->textCursor();
  EXPECT_EQ(place.selectedText(), QStringLiteral("上書き保存"));
  EXPECT_TRUE(guide()->browser()->viewport()->rect().contains(
      guide()->browser()->cursorRect(place).center()))
      << "the place is in view";
  // Back goes to the hits again.
  QTest::keyClick(guide()->browser(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(
      guide()->browser()->toPlainText().startsWith(QStringLiteral("「上書き保存」の検索結果")));

  const struct {
    QString query;
    QString says;
  } cases[] = {
      {QStringLiteral("ｄｉａｌｏｕｔ"), QStringLiteral("か所にあります。")},
      {QStringLiteral("見当たらない言葉"),
       QStringLiteral("「見当たらない言葉」は見つかりませんでした。")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query.toStdString());
    guide()->searchField()->clear();
    CommitText(guide()->searchField(), c.query);
    QTest::keyClick(guide()->searchField(), Qt::Key_Return);
    EXPECT_TRUE(guide()->browser()->toPlainText().contains(c.says));
  }
}

TEST_F(GuideWindowTest, EscapeAndCtrlWCloseTheGuideWhereverTheKeyboardIs) {
  StartWithGuide();
  const struct {
    const char* where;
    QKeyCombination key;
  } cases[] = {
      {"guideText", Qt::Key_Escape},         {"guideSearch", Qt::Key_Escape},
      {"guideContents", Qt::Key_Escape},     {"guideText", Qt::CTRL | Qt::Key_W},
      {"guideSearch", Qt::CTRL | Qt::Key_W}, {"guideContents", Qt::CTRL | Qt::Key_W},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.where) + " " + QKeySequence(c.key).toString().toStdString());
    HelpOnMainWindow();
    QPointer<GuideWindow> window = guide();
    ASSERT_NE(window, nullptr);
    auto* target = window->findChild<QWidget*>(QLatin1String(c.where));
    QApplication::setActiveWindow(window);
    target->setFocus();
    QTest::keyClick(Focused(window), c.key.key(), c.key.keyboardModifiers());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 3000));
  }
}

TEST_F(GuideWindowTest, WithoutTheGuideF1SaysSo) {
  Start();  // no shipped folders
  HelpOnMainWindow();
  EXPECT_EQ(guide(), nullptr);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "使い方のファイル \"guide/index.md\" が見つかりません。");
  EXPECT_EQ(messages_.shown[0].caption, "Tavrin");
}

TEST_F(GuideWindowTest, AScreenReaderWalksThePageByHeadingAndLink) {
  StartWithGuide();
  OpenGuide();
  QAccessibleInterface* page = QAccessible::queryAccessibleInterface(guide()->browser());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->role(), QAccessible::Document);
  EXPECT_EQ(page->text(QAccessible::Name), QStringLiteral("Tavrin 使い方"));
  EXPECT_EQ(NamesOf(page, QAccessible::Heading), Headings("index.md"));
  EXPECT_EQ(NamesOf(page, QAccessible::Link), LinkTexts("index.md"));
  ASSERT_NE(page->textInterface(), nullptr);
  EXPECT_TRUE(page->textInterface()
                  ->text(0, page->textInterface()->characterCount())
                  .startsWith(QStringLiteral("Tavrin 使い方\n")));

  // A new page replaces what was said of the old one.
  guide()->ShowPage("channels.md");
  EXPECT_EQ(page->text(QAccessible::Name), QStringLiteral("チャンネルを設定する"));
  EXPECT_EQ(NamesOf(page, QAccessible::Heading), Headings("channels.md"));
  EXPECT_EQ(NamesOf(page, QAccessible::Link), LinkTexts("channels.md"));

  // A link's action follows it, as Enter on it does.
  guide()->ShowPage("index.md");
  QList<QAccessibleInterface*> all;
  Walk(page, all);
  QAccessibleInterface* radio = nullptr;
  for (QAccessibleInterface* object : all)
    if (object->role() == QAccessible::Link && object->text(QAccessible::Name) == "ラジオ選局")
      radio = object;
  ASSERT_NE(radio, nullptr);
  ASSERT_NE(radio->actionInterface(), nullptr);
  EXPECT_EQ(radio->parent()->role(), QAccessible::ListItem);
  radio->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(guide()->CurrentPage(), "radio.md");
}

TEST_F(GuideWindowTest, TabVisitsEveryControlAndEveryLinkInReadingOrder) {
  StartWithGuide();
  OpenGuide();
  guide()->ShowPage("saving.md");  // back is on from here, forward is not
  Button(QStringLiteral("戻る(&B)"))->setFocus();
  const QStringList links = LinkTexts("saving.md");
  ASSERT_EQ(links.size(), 2);
  QStringList heard;
  for (qsizetype i = 0; i < 6 + links.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    heard << InFocus();
  }
  // Every control is named; the contents list says the line of the page shown, the page its
  // title, then its links one by one, before the keyboard goes round to the first control.
  const QString page = QStringLiteral("保存して確かめる");
  EXPECT_EQ(heard, QStringList({"目次(C)", "検索(S)：", "検索する", page, page}) + links +
                       QStringList{"戻る(B)"});
  EXPECT_EQ(QAccessible::queryAccessibleInterface(guide()->contentsList())->text(QAccessible::Name),
            QStringLiteral("目次"));
}

}  // namespace
}  // namespace tavrin
