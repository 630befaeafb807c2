// contact_sheet: every picture built into the program on one sheet, at 1:1 and enlarged,
// on a checkerboard where it is transparent, with its name, size, format and description.
//
//   contact_sheet [--scales] <out.png> [folder...]
//
// With --scales each picture is shown at 1:1 and then as the program draws it on a screen
// that shows it larger: its renderings at 2× and 3× (every scale built in), pixel for pixel,
// instead of the 1:1 pixels enlarged.
//
// Folders are those of assets/ (shared, start, sudoku, ...); without one, every picture is
// shown. A sheet taller than kMaxPageHeight continues in <out>-2.png, <out>-3.png, ...
// Runs without a display (QT_QPA_PLATFORM=offscreen is the default here).
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "assets/picture_catalog.h"
#include "desktop/picture_pixels.h"
#include "picture_folders.inc"

namespace {

constexpr int kPageWidth = 1800;
constexpr int kMaxPageHeight = 14000;
constexpr int kMargin = 24;
constexpr int kGap = 16;  // between cells
constexpr int kPad = 10;  // inside a cell
constexpr int kMinCellWidth = 260;
constexpr int kCheck = 8;  // checkerboard square

const QColor kSheet(0xff, 0xff, 0xff);
const QColor kCell(0xf3, 0xf0, 0xe8);
const QColor kCellBorder(0xc9, 0xc2, 0xb3);
const QColor kFrame(0x8a, 0x84, 0x78);
const QColor kHeading(0x3a, 0x2a, 0x1e);
const QColor kError(0xc0, 0x00, 0x00);

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString folderOf(std::string_view name)
{
    for (const auto& [picture, folder] : kPictureFolders) {
        if (picture == name)
            return text(folder);
    }
    return QStringLiteral("?");
}

const char* formatName(tuvrel::PictureFormat format)
{
    switch (format) {
    case tuvrel::PictureFormat::Gif: return "gif";
    case tuvrel::PictureFormat::Jpeg: return "jpeg";
    case tuvrel::PictureFormat::Icon: return "icon";
    }
    return "?";
}

// 3× for small pictures; large ones are enlarged less, the largest not at all.
int zoomFor(QSize size)
{
    const int side = std::max(size.width(), size.height());
    return side <= 200 ? 3 : side <= 400 ? 2 : 1;
}

struct Fonts {
    QFont heading, name, body;
    Fonts() : heading(QStringLiteral("Liberation Sans")), name(heading), body(heading)
    {
        heading.setPixelSize(26);
        heading.setBold(true);
        name.setPixelSize(15);
        name.setBold(true);
        body.setPixelSize(13);
    }
};

struct Cell {
    const tuvrel::PictureAsset* asset = nullptr;
    std::vector<QImage> images;  // an icon has several
    std::vector<QImage> scaled;  // with --scales: the larger renderings, smallest first
    QString problem;             // why the picture could not be read
    int zoom = 1;
    QSize size;  // of the whole cell
    int picturesHeight = 0;
    QString caption, details;
};

Cell makeCell(const tuvrel::PictureAsset& asset, const Fonts& fonts, bool scales)
{
    Cell cell;
    cell.asset = &asset;
    QImageReader reader(tuvrel::pictureResourcePath(asset.name));
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        QImage image = reader.read();
        if (image.isNull()) {
            cell.problem = QStringLiteral("cannot read %1: %2")
                               .arg(tuvrel::pictureResourcePath(asset.name), reader.errorString());
            break;
        }
        cell.images.push_back(image.convertToFormat(QImage::Format_ARGB32));
    }
    std::sort(cell.images.begin(), cell.images.end(),
              [](const QImage& a, const QImage& b) { return a.width() > b.width(); });
    QStringList scaleNames;
    for (int scale : scales ? tuvrel::pictureScales() : std::span<const int>()) {
        const QString path = tuvrel::pictureResourcePath(asset.name, scale);
        QImageReader scaledReader(path);
        const QImage image = scaledReader.read();
        const QSize expected(asset.width * scale, asset.height * scale);
        if (image.isNull() || image.size() != expected) {
            cell.problem = image.isNull() ? QStringLiteral("cannot read %1: %2").arg(path, scaledReader.errorString())
                                          : QStringLiteral("%1 is %2×%3, not %4×%5")
                                                .arg(path)
                                                .arg(image.width())
                                                .arg(image.height())
                                                .arg(expected.width())
                                                .arg(expected.height());
            break;
        }
        cell.scaled.push_back(image.convertToFormat(QImage::Format_ARGB32));
        scaleNames << QStringLiteral("%1×").arg(scale);
    }

    int picturesWidth = 0;
    if (!cell.images.empty() && scales) {
        for (const QImage& image : cell.images) {
            picturesWidth += image.width() + kPad;
            cell.picturesHeight = std::max(cell.picturesHeight, image.height());
        }
        for (const QImage& image : cell.scaled) {
            picturesWidth += image.width() + kPad;
            cell.picturesHeight = std::max(cell.picturesHeight, image.height());
        }
        picturesWidth -= kPad;
    } else if (!cell.images.empty()) {
        cell.zoom = zoomFor(cell.images.front().size());
        for (const QImage& image : cell.images) {
            picturesWidth += image.width() + kPad;
            cell.picturesHeight = std::max(cell.picturesHeight, image.height() * cell.zoom);
        }
        if (cell.zoom > 1) {
            for (const QImage& image : cell.images)
                picturesWidth += image.width() * cell.zoom + kPad;
        }
        picturesWidth -= kPad;
    } else {
        picturesWidth = kMinCellWidth;
        cell.picturesHeight = 40;
    }

    cell.caption = text(asset.name);
    cell.details = QStringLiteral("%1 × %2 %3, %4%5")
                       .arg(asset.width)
                       .arg(asset.height)
                       .arg(QLatin1String(formatName(asset.format)),
                            asset.transparent ? QStringLiteral("transparent") : QStringLiteral("opaque"),
                            !scaleNames.isEmpty() ? QStringLiteral(", shown 1:1 and rendered at %1")
                                                        .arg(scaleNames.join(QStringLiteral(" and ")))
                            : cell.zoom > 1 ? QStringLiteral(", shown 1:1 and %1×").arg(cell.zoom)
                                            : QString());
    if (cell.images.size() > 1) {
        QStringList sizes;
        for (const QImage& image : cell.images)
            sizes << QStringLiteral("%1×%2").arg(image.width()).arg(image.height());
        cell.details += QStringLiteral(" (images %1)").arg(sizes.join(QStringLiteral(", ")));
    }
    if (!asset.description.empty())
        cell.details += QStringLiteral("\n") + text(asset.description);
    if (!cell.problem.isEmpty())
        cell.details += QStringLiteral("\n") + cell.problem;

    const int width = std::max(picturesWidth, kMinCellWidth);
    const int nameHeight = QFontMetrics(fonts.name).height();
    const QRect textBox = QFontMetrics(fonts.body)
                              .boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, cell.details);
    cell.size = QSize(width + 2 * kPad, kPad + cell.picturesHeight + kPad + nameHeight + 4 + textBox.height() + kPad);
    return cell;
}

void drawChecker(QPainter& p, const QRect& r)
{
    p.save();
    p.setClipRect(r);
    p.fillRect(r, Qt::white);
    for (int y = r.top(); y <= r.bottom(); y += kCheck) {
        for (int x = r.left(); x <= r.right(); x += kCheck) {
            if (((x - r.left()) / kCheck + (y - r.top()) / kCheck) % 2)
                p.fillRect(x, y, kCheck, kCheck, QColor(0xd6, 0xd6, 0xd6));
        }
    }
    p.restore();
}

void drawPicture(QPainter& p, const QImage& image, QPoint at, int zoom)
{
    const QRect target(at, image.size() * zoom);
    drawChecker(p, target);
    p.drawImage(target, image);  // no smoothing: every pixel shows as a square
    p.setPen(kFrame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(target.adjusted(-1, -1, 0, 0));
}

void drawCell(QPainter& p, const Cell& cell, QPoint at, const Fonts& fonts)
{
    const QRect box(at, cell.size);
    p.setPen(kCellBorder);
    p.setBrush(kCell);
    p.drawRect(box.adjusted(0, 0, -1, -1));

    int x = at.x() + kPad;
    const int y = at.y() + kPad;
    for (const QImage& image : cell.images) {
        drawPicture(p, image, QPoint(x, y), 1);
        x += image.width() + kPad;
    }
    if (cell.zoom > 1) {
        for (const QImage& image : cell.images) {
            drawPicture(p, image, QPoint(x, y), cell.zoom);
            x += image.width() * cell.zoom + kPad;
        }
    }
    for (const QImage& image : cell.scaled) {
        drawPicture(p, image, QPoint(x, y), 1);
        x += image.width() + kPad;
    }
    if (cell.images.empty()) {
        p.fillRect(QRect(at.x() + kPad, y, cell.size.width() - 2 * kPad, cell.picturesHeight), kError);
    }

    const int textWidth = cell.size.width() - 2 * kPad;
    int ty = y + cell.picturesHeight + kPad;
    p.setFont(fonts.name);
    p.setPen(cell.problem.isEmpty() ? kHeading : kError);
    p.drawText(QRect(at.x() + kPad, ty, textWidth, QFontMetrics(fonts.name).height()), Qt::AlignLeft, cell.caption);
    ty += QFontMetrics(fonts.name).height() + 4;
    p.setFont(fonts.body);
    p.setPen(cell.problem.isEmpty() ? QColor(Qt::black) : kError);
    p.drawText(QRect(at.x() + kPad, ty, textWidth, cell.size.height()), Qt::TextWordWrap, cell.details);
}

// A line of the sheet: a folder heading, or cells side by side.
struct Line {
    QString heading;
    std::vector<const Cell*> cells;
    int height = 0;
};

QString pagePath(const QString& first, int page)
{
    if (page == 1)
        return first;
    QFileInfo info(first);
    const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    return info.path() + QStringLiteral("/") + info.completeBaseName() + QStringLiteral("-%1").arg(page) + suffix;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool scales = args.removeAll(QStringLiteral("--scales")) > 0;
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-'))) {
        err << "usage: contact_sheet [--scales] <out.png> [folder...]\n";
        return 2;
    }
    const QString output = args.first();
    const QStringList wanted = args.mid(1);

    QStringList known;
    for (const auto& [picture, folder] : kPictureFolders) {
        if (!known.contains(text(folder)))
            known << text(folder);
    }
    for (const QString& folder : wanted) {
        if (!known.contains(folder)) {
            err << "contact_sheet: no pictures in folder '" << folder
                << "' (folders: " << known.join(QStringLiteral(", ")) << ")\n";
            return 2;
        }
    }

    const Fonts fonts;
    std::vector<std::pair<QString, Cell>> cells;
    int unreadable = 0;
    for (const tuvrel::PictureAsset& asset : tuvrel::pictureCatalog()) {
        const QString folder = folderOf(asset.name);
        if (!wanted.isEmpty() && !wanted.contains(folder))
            continue;
        cells.emplace_back(folder, makeCell(asset, fonts, scales));
        if (!cells.back().second.problem.isEmpty()) {
            err << "contact_sheet: " << cells.back().second.problem << "\n";
            ++unreadable;
        }
    }

    // Flow the cells into lines, a new heading wherever the folder changes.
    const int usable = std::max(
        kPageWidth - 2 * kMargin,
        cells.empty() ? 0 : std::max_element(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
                                return a.second.size.width() < b.second.size.width();
                            })->second.size.width());
    const int headingHeight = QFontMetrics(fonts.heading).height() + kGap;
    std::vector<Line> lines;
    QString currentFolder;
    int lineWidth = 0;
    for (const auto& [folder, cell] : cells) {
        if (lines.empty() || folder != currentFolder) {
            currentFolder = folder;
            lines.push_back(Line{folder, {}, headingHeight});
            lines.push_back(Line{});
            lineWidth = 0;
        }
        if (!lines.back().cells.empty() && lineWidth + kGap + cell.size.width() > usable) {
            lines.push_back(Line{});
            lineWidth = 0;
        }
        Line& line = lines.back();
        lineWidth += (line.cells.empty() ? 0 : kGap) + cell.size.width();
        line.cells.push_back(&cell);
        line.height = std::max(line.height, cell.size.height() + kGap);
    }

    const QString title = QStringLiteral("Tuvrel pictures%1: %2%3")
                              .arg(scales ? QStringLiteral(" at every scale") : QString())
                              .arg(cells.size())
                              .arg(wanted.isEmpty() ? QString()
                                                    : QStringLiteral(" in ") + wanted.join(QStringLiteral(", ")));
    std::vector<std::vector<const Line*>> pages(1);
    int height = kMargin + headingHeight;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Keep a heading with its first line of cells.
        const int needed = lines[i].height +
                           (!lines[i].heading.isEmpty() && i + 1 < lines.size() ? lines[i + 1].height : 0);
        if (!pages.back().empty() && height + needed + kMargin > kMaxPageHeight) {
            pages.emplace_back();
            height = kMargin + headingHeight;
        }
        pages.back().push_back(&lines[i]);
        height += lines[i].height;
    }

    QStringList written;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        int pageHeight = kMargin + headingHeight + kMargin;
        for (const Line* line : pages[page])
            pageHeight += line->height;
        QImage sheet(usable + 2 * kMargin, pageHeight, QImage::Format_RGB32);
        sheet.fill(kSheet);
        QPainter p(&sheet);
        p.setFont(fonts.heading);
        p.setPen(kHeading);
        const QString pageTitle = pages.size() > 1
                                      ? title + QStringLiteral(" (page %1 of %2)").arg(page + 1).arg(pages.size())
                                      : title;
        p.drawText(QRect(kMargin, kMargin, usable, headingHeight), Qt::AlignLeft | Qt::AlignTop, pageTitle);
        int y = kMargin + headingHeight;
        for (const Line* line : pages[page]) {
            if (!line->heading.isEmpty()) {
                p.setFont(fonts.heading);
                p.setPen(kHeading);
                p.drawText(QRect(kMargin, y, usable, line->height), Qt::AlignLeft | Qt::AlignVCenter,
                           QStringLiteral("assets/%1").arg(line->heading));
                p.drawLine(kMargin, y + line->height - 4, kMargin + usable, y + line->height - 4);
            }
            int x = kMargin;
            for (const Cell* cell : line->cells) {
                drawCell(p, *cell, QPoint(x, y), fonts);
                x += cell->size.width() + kGap;
            }
            y += line->height;
        }
        p.end();
        const QString path = pagePath(output, static_cast<int>(page) + 1);
        if (!sheet.save(path, "PNG")) {
            err << "contact_sheet: cannot write " << path << "\n";
            return 1;
        }
        written << path;
    }
    QTextStream(stdout) << written.join(QStringLiteral("\n")) << "\n";
    return unreadable == 0 ? 0 : 1;
}
