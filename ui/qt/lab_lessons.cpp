#include "ui/qt/lab_lessons.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStandardPaths>

#include "ui/qt/qt_text.h"

namespace tarvel::ui {
namespace {

const QString kLessonsPath = QStringLiteral("tarvel/lessons");
const QString kShowAnswer = QStringLiteral("show-answer");

// A text as paragraphs: a blank line parts them, a line end breaks a line.
QString paragraphs(const std::string& text, const QString& lead = {})
{
    QString html;
    const QStringList parts = qstr(text).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i)
        html += QStringLiteral("<p>") + (i == 0 ? lead : QString()) +
                parts[i].trimmed().toHtmlEscaped().replace('\n', QStringLiteral("<br>")) +
                QStringLiteral("</p>");
    return html;
}

QString folderWithLessons(const QString& folder)
{
    return QFileInfo(folder).isDir() && !lessonFiles(folder).isEmpty()
               ? QDir(folder).canonicalPath()
               : QString();
}

}  // namespace

QString lessonFolder(const QString& programFolder)
{
    for (const QString& beside : {QStringLiteral("/../share/"), QStringLiteral("/share/")})
        if (const QString found = folderWithLessons(programFolder + beside + kLessonsPath);
            !found.isEmpty())
            return found;
    for (const QString& data :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, kLessonsPath,
                                   QStandardPaths::LocateDirectory))
        if (const QString found = folderWithLessons(data); !found.isEmpty())
            return found;
    return {};
}

QStringList lessonFiles(const QString& folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*.tarvel")}, QDir::Files | QDir::Readable, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

QString lessonMenuTitle(const QString& path)
{
    // Far larger than any lesson.
    constexpr qint64 kLargestLesson = 4 << 20;
    QString title = QFileInfo(path).completeBaseName();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.size() <= kLargestLesson) {
        const StudyRead read = readStudyFile(file.readAll().toStdString());
        if (read.study && read.study->lesson && !read.study->lesson->title.empty())
            title = qstr(read.study->lesson->title);
    }
    const QRegularExpressionMatch number =
        QRegularExpression(QStringLiteral("^0*(\\d+)")).match(QFileInfo(path).fileName());
    return number.hasMatch() ? QStringLiteral("&") + number.captured(1) + ' ' + title : title;
}

void addLessonItems(QMenu& menu, const QString& namePrefix,
                    const std::function<void(const QString&)>& open)
{
    const QStringList files = lessonFiles(lessonFolder(QCoreApplication::applicationDirPath()));
    for (const QString& path : files) {
        QAction* item = menu.addAction(lessonMenuTitle(path));
        item->setObjectName(namePrefix + QFileInfo(path).completeBaseName());
        QObject::connect(item, &QAction::triggered, &menu, [open, path] { open(path); });
    }
    if (files.isEmpty())
        menu.addAction("No lessons found beside the program")->setEnabled(false);
}

LessonPanel::LessonPanel(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& link) { setAnswerShown(link.fragment() == kShowAnswer); });
}

void LessonPanel::showLesson(const Lesson& lesson)
{
    lesson_ = lesson;
    answerShown_ = false;
    render();
}

void LessonPanel::setAnswerShown(bool shown)
{
    answerShown_ = shown;
    render();
}

void LessonPanel::render()
{
    QString html = QStringLiteral("<p><b>") + qstr(lesson_.title).toHtmlEscaped() +
                   QStringLiteral("</b></p>") + paragraphs(lesson_.look) +
                   paragraphs(lesson_.question, QStringLiteral("<b>Question.</b> "));
    if (answerShown_)
        html += QStringLiteral("<a name=\"answer\"></a>") +
                paragraphs(lesson_.answer, QStringLiteral("<b>Answer.</b> ")) +
                QStringLiteral("<p><a href=\"#hide-answer\">Hide answer</a></p>");
    else
        html += QStringLiteral("<p><a href=\"#") + kShowAnswer +
                QStringLiteral("\">Show answer</a></p>");
    setHtml(html);
    if (answerShown_)
        scrollToAnchor(QStringLiteral("answer"));
}

LessonDialog::LessonDialog(const std::optional<Lesson>& lesson, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("labLessonDialog");
    setWindowTitle("Lesson text");
    auto* form = new QFormLayout(this);
    title_ = new QLineEdit(this);
    title_->setObjectName("labLessonTitle");
    form->addRow("&Title:", title_);
    const auto textBox = [this, form](const char* name, const QString& label) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(name);
        box->setTabChangesFocus(true);
        form->addRow(label, box);
        return box;
    };
    look_ = textBox("labLessonLook", "What to &look at:");
    question_ = textBox("labLessonQuestion", "The &question:");
    answer_ = textBox("labLessonAnswer", "The &answer:");
    if (lesson) {
        title_->setText(qstr(lesson->title));
        look_->setPlainText(qstr(lesson->look));
        question_->setPlainText(qstr(lesson->question));
        answer_->setPlainText(qstr(lesson->answer));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(new QLabel("A blank line parts paragraphs. Save study keeps the lesson; "
                            "all four empty: no lesson.",
                            this));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 520);
}

std::optional<Lesson> LessonDialog::lesson() const
{
    Lesson lesson{title_->text().trimmed().toStdString(),
                  look_->toPlainText().trimmed().toStdString(),
                  question_->toPlainText().trimmed().toStdString(),
                  answer_->toPlainText().trimmed().toStdString()};
    if (lesson == Lesson{})
        return std::nullopt;
    return lesson;
}

}  // namespace tarvel::ui
