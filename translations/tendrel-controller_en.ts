<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>AddValuesDialog</name>
    <message>
        <source>Добавление значений</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вольт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ампер</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChargeDialog</name>
    <message>
        <source>Заряд аккумулятора</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>На этом источнике</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа откроется как новая: её можно посмотреть на плане, изменить, сохранить и запустить.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Составить программу</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChargeForm</name>
    <message>
        <source> В/эл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> эл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>А·ч</source>
        <translation type="unfinished">Ah</translation>
    </message>
    <message>
        <source> мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>поддержание</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> мВ/эл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не дольше</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток в амперах или в долях ёмкости (C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Химия:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Элементов последовательно:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ёмкость:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток заряда:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Напряжение заряда:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Постоянное напряжение кончается, когда ток упадёт до этой доли ёмкости</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окончание по току:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в течение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Насыщение не дольше:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>После заряда:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заряд кончается, если напряжение столько времени не растёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окончание по −ΔV:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Без −ΔV первые:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Плоская вершина:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>от %1 до %2 В/эл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>= %1 А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>= %1 C</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChargeProfile</name>
    <message>
        <source>число элементов должно быть от 1 до %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ёмкость должна быть больше нуля</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток заряда должен быть больше нуля</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>напряжение на элемент должно быть от %1 до %2 В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток окончания должен быть от C/50 до C/5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−ΔV должно быть от 5 до 10 мВ на элемент</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>напряжение заряда %1 В вне пределов источника (%2–%3 В)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток заряда %1 А вне пределов источника (%2–%3 А)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Проверка и предзаряд</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Постоянный ток</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Постоянное напряжение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Основной заряд</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Насыщение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поддержание</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выдержка без −ΔV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заряд до −ΔV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток окончания %1 А меньше двух шагов тока источника (%2 А): источник не различит его; %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток окончания %1 А не меньше тока заряда %2 А; подойдёт окончание от C/%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−ΔV батареи %1 В меньше двух шагов напряжения источника (%2 В): источник не различит его; %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>подойдёт окончание до C/%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>даже при C/5 нужна ёмкость от %1 А·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>подойдёт −ΔV от %1 мВ/эл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>даже при 10 мВ/эл. нужно не меньше %1 эл.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChargeResolutionView</name>
    <message>
        <source>Страховка (пределы программы): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программу не составить: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Источник не опознан: его шаги напряжения и тока неизвестны, программу не составить. Подключите источник.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шаг источника: %1 В по напряжению, %2 А по току</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Напряжение заряда: %1 В — ступень источника не выше %2 В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток заряда: %1 А — ступень источника не выше %2 А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−ΔV батареи: %1 В; источник различает от %2 В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток окончания: %1 А (C/%2); источник различает от %3 А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Разряженный элемент: предзаряд током %1 А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Разряженный элемент: отказ — ток предзаряда %1 А меньше наименьшего тока источника (%2 А)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChemistryPractice</name>
    <message>
        <source>Li-ion / LiPo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LiFePO4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Свинцовый, жидкий электролит</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Свинцовый AGM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Свинцовый гелевый</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NiMH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NiCd</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>show this text and exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show the version and exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>use the serial port DEVICE (ttyUSB0, a path or Auto) for this run; once for each supply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open the readings window at start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>record every reading to the CSV file FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>load the program FILE and run it once a supply answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>accept remote control on [ADDRESS:]PORT (127.0.0.1 unless an address is given)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>serve Prometheus metrics at /metrics on [ADDRESS:]PORT (127.0.0.1 unless an address is given)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>publish each supply&apos;s state to the MQTT broker at HOST (port 1883)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>run without a window or display, for a service; events are told on standard error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>with --headless: leave the output as it is at exit (leave, the default) or switch it off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: %1 [OPTION]...
Controls a Tendrel Electronics laboratory power supply on a serial port.

Options:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
The options of Qt applications (-platform, -style, ...) are accepted too.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos;.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--port needs a device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--record needs a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--program needs a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output-at-exit is off or leave, not &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--chart needs a window; it cannot go with --headless.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--port %1 is given twice.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--program runs on one supply; with several, start programs over the remote server (INST:NSEL, PROG).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ControllerApp</name>
    <message>
        <source>Удалённое управление: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Метрики: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ControllerDialog</name>
    <message>
        <source>Tendrel Electronics - Контроллер</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В компьютере отсутствуют COM-порты! Программа будет закрыта.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Найден неизвестный источник питания! Обновите программу!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Правая кнопка: графики, запись в CSV, счётчики, программы. Графики: Ctrl+G, программы: Ctrl+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программы…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> [удалённое управление]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выполняется программа. Остановить её и выключить выход?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Conversions</name>
    <message>
        <source>%1 В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 A</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CsvExport</name>
    <message>
        <source>Не удалось создать «%1»: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось записать «%1»: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CsvRecorder</name>
    <message>
        <source>не удалось открыть файл «%1»</source>
        <translation>cannot open &apos;%1&apos;</translation>
    </message>
    <message>
        <source>файл «%1» уже записывает другая программа</source>
        <translation>another program is already recording to &apos;%1&apos;</translation>
    </message>
    <message>
        <source>не удалось записать в файл «%1»</source>
        <translation>cannot write to &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Запись в CSV остановлена: %1.</source>
        <translation>CSV recording stopped: %1.</translation>
    </message>
    <message>
        <source>на диске нет места</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>превышена дисковая квота</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>файл достиг предельного размера</source>
        <translation>the file has reached its size limit</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода, возможно, носитель извлечён</source>
        <translation>input/output error; the medium may have been removed</translation>
    </message>
    <message>
        <source>нет прав на запись</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>носитель доступен только для чтения</source>
        <translation>the medium is read-only</translation>
    </message>
    <message>
        <source>такой папки нет</source>
        <translation>no such directory</translation>
    </message>
    <message>
        <source>в пути файл стоит на месте папки</source>
        <translation>a component of the path is a file, not a directory</translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation>it is a directory, not a file</translation>
    </message>
    <message>
        <source>устройство отсутствует</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>DataExchange</name>
    <message>
        <source>Введите число.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Введите целое число от 0 до 255.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DiagnosticLine</name>
    <message>
        <source>подключен</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>НЕ подкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - [%2] - принятые данные от блока: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DurationDialog</name>
    <message>
        <source>с</source>
        <translation type="unfinished">s</translation>
    </message>
    <message>
        <source>Плавно изменять за это время</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность шага</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет: до условия</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>напряжение</source>
        <translation type="unfinished">voltage</translation>
    </message>
    <message>
        <source>ток</source>
        <translation type="unfinished">current</translation>
    </message>
    <message>
        <source>Длительность:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Что изменять:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>От:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>До:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Секунды, м:сс или ч:мм:сс. Шаг без длительности кончается по условию или по наибольшей длительности.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В</source>
        <translation type="unfinished">V</translation>
    </message>
    <message>
        <source>А</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EndConditionsDialog</name>
    <message>
        <source>чч:мм</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окончание шага по условию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Условие</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Значение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Условие останавливает всю программу, а не только шаг</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шаг кончается, как только выполнится первое из условий при включённом выходе, но не позже своей наибольшей длительности. Условие со «стоп» останавливает программу и выключает выход.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить условие</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EventLog</name>
    <message>
        <source>by the user</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by the timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by remote client %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by the program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by the protection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>link up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>link lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>identified %1 %2 (%3, %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the supply reports its output %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>protection tripped, output switched off: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>output on %1 refused: a protection trip is latched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>command %1 refused: the supply&apos;s On/Off switch is on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>command %1 refused: no supply identified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>voltage set to %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>current limit set to %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>output switched %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>program running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>program paused: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>program ended: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>program step %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recording to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recording to %1 closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recording failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remote</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 client connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 clients connected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HotValuesPanel</name>
    <message>
        <source>Быстрые значения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Установить как текущее</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить значение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить текущее</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JsonTree</name>
    <message>
        <source>число не умещается в double</source>
        <translation>the number does not fit in a double</translation>
    </message>
    <message>
        <source>строка не закрыта кавычкой до конца строки</source>
        <translation>unterminated string: the line ends before its closing quote</translation>
    </message>
    <message>
        <source>управляющий символ в строке</source>
        <translation>control character in a string</translation>
    </message>
    <message>
        <source>файл пуст</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>после документа ещё что-то есть</source>
        <translation>more text after the end of the document</translation>
    </message>
    <message>
        <source>ожидается ключ в кавычках</source>
        <translation>expected a key in double quotes</translation>
    </message>
    <message>
        <source>после ключа нет двоеточия</source>
        <translation>missing colon after the key</translation>
    </message>
    <message>
        <source>ожидается запятая или «}»</source>
        <translation>expected a comma or &apos;}&apos;</translation>
    </message>
    <message>
        <source>ожидается запятая или «]»</source>
        <translation>expected a comma or &apos;]&apos;</translation>
    </message>
    <message>
        <source>строка не закрыта кавычкой</source>
        <translation>unterminated string</translation>
    </message>
    <message>
        <source>текст не в UTF-8</source>
        <translation>the text is not UTF-8</translation>
    </message>
    <message>
        <source>неверная escape-последовательность в строке</source>
        <translation>invalid escape sequence in a string</translation>
    </message>
    <message>
        <source>число слишком велико</source>
        <translation>the number is too large</translation>
    </message>
    <message>
        <source>число записано не полностью</source>
        <translation>incomplete number</translation>
    </message>
    <message>
        <source>ошибка синтаксиса JSON</source>
        <translation>JSON syntax error</translation>
    </message>
</context>
<context>
    <name>LimitsPanel</name>
    <message>
        <source>Напряжение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Мощность</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заряд</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Энергия</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Применить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сбросить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>✓ взведён</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не применено,
взведён %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не применено</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сработала защита в %1. Выход выключен до сброса.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListenAddress</name>
    <message>
        <source>expected [ADDRESS:]PORT, such as 5025, 127.0.0.1:5025 or [::1]:5025</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has no port from 1 to 65535: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: write an IPv6 address in brackets: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a numeric IP address or localhost: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MetricsConfig</name>
    <message>
        <source>note: metrics are served on %1: anyone who can reach this address can read the supplies&apos; readings (read only)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Metrics] Enabled must be 0 or 1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MetricsServer</name>
    <message>
        <source>metrics: cannot listen on %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModelTable</name>
    <message>
        <source>Лабораторный</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Неизвестный</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoticeWindow</name>
    <message>
        <source>Сообщения</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlanChart</name>
    <message>
        <source>Время от начала</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Напряжение, В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток, А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Напряжение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>повторяется до остановки</source>
        <translation type="unfinished">repeats until stopped</translation>
    </message>
    <message>
        <source>В программе нет шагов.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность программы: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность программы: не больше %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа идёт до остановки; группа «до остановки» показана один раз.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пунктир — шаги с окончанием по условию: показаны по наибольшей длительности, а могут кончиться раньше.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Серым — выход выключен.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>сейчас</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>после предела времени</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность программы: не больше %1 — предел времени программы.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortChooser</name>
    <message>
        <source>все</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Найдено %1 com-портов. Используем %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramCheck</name>
    <message>
        <source>повторяется %1 раз, а нужно хотя бы раз</source>
        <translation>repeats %1 times but must run at least once</translation>
    </message>
    <message>
        <source>повторяется до остановки</source>
        <translation>repeats until stopped</translation>
    </message>
    <message>
        <source>программа длится %1 с, дольше предела времени %2 с</source>
        <translation>the program runs for %1 s, longer than the time limit of %2 s</translation>
    </message>
    <message>
        <source>%1 мс</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>шаг %1: %2</source>
        <translation>step %1: %2</translation>
    </message>
    <message>
        <source>его группа %1</source>
        <translation>its group %1</translation>
    </message>
    <message>
        <source>пустая группа в начале программы %1</source>
        <translation>an empty group at the start of the program %1</translation>
    </message>
    <message>
        <source>пустая группа после шага %1 %2</source>
        <translation>an empty group after step %1 %2</translation>
    </message>
    <message>
        <source>В</source>
        <translation>V</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>напряжение</source>
        <translation>voltage</translation>
    </message>
    <message>
        <source>ток</source>
        <translation>current</translation>
    </message>
    <message>
        <source>напряжение в начале плавного изменения</source>
        <translation>ramp start voltage</translation>
    </message>
    <message>
        <source>ток в начале плавного изменения</source>
        <translation>ramp start current</translation>
    </message>
    <message>
        <source>напряжение в конце плавного изменения</source>
        <translation>ramp end voltage</translation>
    </message>
    <message>
        <source>ток в конце плавного изменения</source>
        <translation>ramp end current</translation>
    </message>
    <message>
        <source>ток в условии «не больше»</source>
        <translation>current of an &apos;at most&apos; condition</translation>
    </message>
    <message>
        <source>ток в условии «не меньше»</source>
        <translation>current of an &apos;at least&apos; condition</translation>
    </message>
    <message>
        <source>напряжение в условии «не больше»</source>
        <translation>voltage of an &apos;at most&apos; condition</translation>
    </message>
    <message>
        <source>напряжение в условии «не меньше»</source>
        <translation>voltage of an &apos;at least&apos; condition</translation>
    </message>
    <message>
        <source>заряд в условии</source>
        <translation>charge of a condition</translation>
    </message>
    <message>
        <source>А·ч</source>
        <translation>Ah</translation>
    </message>
    <message>
        <source>энергия в условии</source>
        <translation>energy of a condition</translation>
    </message>
    <message>
        <source>Вт·ч</source>
        <translation>Wh</translation>
    </message>
    <message>
        <source>спад напряжения в условии</source>
        <translation>voltage drop of a condition</translation>
    </message>
    <message>
        <source>время без роста напряжения в условии</source>
        <translation>flat voltage time of a condition</translation>
    </message>
    <message>
        <source>с</source>
        <translation>s</translation>
    </message>
    <message>
        <source>время суток в условии</source>
        <translation>time of day of a condition</translation>
    </message>
    <message>
        <source>%1 не число</source>
        <translation>%1 is not a number</translation>
    </message>
    <message>
        <source>%1 %2 %3 меньше нуля</source>
        <translation>%1 %2 %3 is negative</translation>
    </message>
    <message>
        <source>время суток в условии %1 с не меньше суток (%2 с)</source>
        <translation>time of day of a condition, %1 s, is a day (%2 s) or more</translation>
    </message>
    <message>
        <source>длительность %1 меньше нуля</source>
        <translation>duration %1 is negative</translation>
    </message>
    <message>
        <source>наибольшая длительность %1 меньше нуля</source>
        <translation>maximum duration %1 is negative</translation>
    </message>
    <message>
        <source>напряжение задано и уставкой, и плавным изменением</source>
        <translation>the voltage is given both as a setpoint and as a ramp</translation>
    </message>
    <message>
        <source>ток задан и уставкой, и плавным изменением</source>
        <translation>the current is given both as a setpoint and as a ramp</translation>
    </message>
    <message>
        <source>у плавного изменения нет длительности</source>
        <translation>the ramp has no duration</translation>
    </message>
    <message>
        <source>ему нечем закончиться: нет ни длительности, ни наибольшей длительности</source>
        <translation>it can never end: it has neither a duration nor a maximum duration</translation>
    </message>
    <message>
        <source>условие окончания может не наступить, а наибольшей длительности нет</source>
        <translation>its end condition may never be met, and it has no maximum duration</translation>
    </message>
    <message>
        <source>%1 %2 короче цикла опроса %3</source>
        <translation>%1 %2 is shorter than the poll cycle of %3</translation>
    </message>
    <message>
        <source>плавное изменение за</source>
        <translation>ramp over</translation>
    </message>
    <message>
        <source>длительность</source>
        <translation>duration</translation>
    </message>
    <message>
        <source>наибольшая длительность %1 короче цикла опроса %2</source>
        <translation>maximum duration %1 is shorter than the poll cycle of %2</translation>
    </message>
    <message>
        <source>%1 %2 %3 выше предела модели %4 %3</source>
        <translation>%1 %2 %3 is above the model&apos;s maximum of %4 %3</translation>
    </message>
    <message>
        <source>%1 %2 %3 ниже наименьшего для модели %4 %3</source>
        <translation>%1 %2 %3 is below the model&apos;s minimum of %4 %3</translation>
    </message>
    <message>
        <source>%1 %2 %3 выше защитного предела %4 %3</source>
        <translation>%1 %2 %3 is above the protection limit of %4 %3</translation>
    </message>
</context>
<context>
    <name>ProgramEditor</name>
    <message>
        <source>Уставка напряжения; «—» — не менять</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Уставка тока; «—» — не менять</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шаг кончается не позже; «—» — как длительность</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить шаг</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить группу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вверх</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вниз</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Когда связь вернётся:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>остановить программу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>продолжить программу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пределы программы: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Аккумулятор: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Двойной щелчок, F2 или правая кнопка: длительность и плавное изменение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Двойной щелчок, F2 или правая кнопка: условия, по которым шаг кончается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность и плавное изменение…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окончание по условию…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramEngine</name>
    <message>
        <source>программа выполняется; сначала остановите её</source>
        <translation>a program is running; stop it first</translation>
    </message>
    <message>
        <source>программа уже выполняется</source>
        <translation>a program is already running</translation>
    </message>
    <message>
        <source>программа не загружена</source>
        <translation>no program loaded</translation>
    </message>
    <message>
        <source>в программе нет шагов</source>
        <translation>the program has no steps</translation>
    </message>
    <message>
        <source>нет связи с источником</source>
        <translation>no link to the supply</translation>
    </message>
    <message>
        <source>источник ещё не сообщил своих уставок</source>
        <translation>the supply has not reported its setpoints yet</translation>
    </message>
    <message>
        <source>сработала защита (%1); сбросьте её</source>
        <translation>protection tripped (%1); reset it first</translation>
    </message>
    <message>
        <source>остановлена условием шага %1</source>
        <translation>stopped by a condition of step %1</translation>
    </message>
    <message>
        <source>выполнена</source>
        <translation>completed</translation>
    </message>
    <message>
        <source>приостановлена пользователем</source>
        <translation>paused by the user</translation>
    </message>
    <message>
        <source>остановлена пользователем</source>
        <translation>stopped by the user</translation>
    </message>
    <message>
        <source>прервана закрытием программы, выход оставлен как был</source>
        <translation>cut short as the controller closed; output left as it was</translation>
    </message>
    <message>
        <source>связь с источником потеряна</source>
        <translation>link to the supply lost</translation>
    </message>
    <message>
        <source>связь с источником была потеряна</source>
        <translation>the link to the supply was lost</translation>
    </message>
    <message>
        <source>уставка или выход изменены удалённым клиентом</source>
        <translation>setpoint or output changed by a remote client</translation>
    </message>
    <message>
        <source>выход переключён таймером</source>
        <translation>output switched by the timer</translation>
    </message>
    <message>
        <source>уставка или выход изменены вручную</source>
        <translation>setpoint or output changed by hand</translation>
    </message>
    <message>
        <source>сработала защита: %1</source>
        <translation>protection tripped: %1</translation>
    </message>
</context>
<context>
    <name>ProgramFile</name>
    <message>
        <source>вложено глубже, чем допускают %1 вложенных групп</source>
        <translation>nested deeper than %1 nested groups allow</translation>
    </message>
    <message>
        <source>Не удалось открыть «%1»: %2.</source>
        <translation>Cannot open &apos;%1&apos;: %2.</translation>
    </message>
    <message>
        <source>Не удалось прочитать «%1»: %2.</source>
        <translation>Cannot read &apos;%1&apos;: %2.</translation>
    </message>
    <message>
        <source>программу нельзя записать списком CSV: %1</source>
        <translation>the program cannot be written as a CSV list: %1</translation>
    </message>
    <message>
        <source>Не удалось записать «%1».</source>
        <translation type="vanished">Cannot write &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>есть условия окончания, а в списке шаг длится своё время</source>
        <translation>it has end conditions, but a list row only has a dwell time</translation>
    </message>
    <message>
        <source>плавное изменение список не передаёт</source>
        <translation>a list cannot hold a ramp</translation>
    </message>
    <message>
        <source>ток остаётся прежним, а строка списка задаёт напряжение и ток</source>
        <translation>it keeps the current, but a list row sets both voltage and current</translation>
    </message>
    <message>
        <source>напряжение остаётся прежним, а строка списка задаёт напряжение и ток</source>
        <translation>it keeps the voltage, but a list row sets both voltage and current</translation>
    </message>
    <message>
        <source>выход выключается, а в списке выход всегда включён</source>
        <translation>it switches the output off, but in a list the output is always on</translation>
    </message>
    <message>
        <source>выход остаётся прежним, а в списке выход всегда включён</source>
        <translation>it leaves the output as it is, but in a list the output is always on</translation>
    </message>
    <message>
        <source>нет длительности</source>
        <translation>it has no duration</translation>
    </message>
    <message>
        <source>группа после шага %1 повторяется до остановки, а список повторять не умеет</source>
        <translation>the group after step %1 repeats until stopped, and a list cannot repeat</translation>
    </message>
    <message>
        <source>шаг %1: %2</source>
        <translation>step %1: %2</translation>
    </message>
    <message>
        <source>%1 должно быть числом, а не %2</source>
        <translation>%1 must be a number, not %2</translation>
    </message>
    <message>
        <source>нужны три числа через запятую: %1</source>
        <translation>expected three numbers separated by commas: %1</translation>
    </message>
    <message>
        <source>&quot;dwell_s&quot; должно быть от 0 до %1 с</source>
        <translation>&quot;dwell_s&quot; must be from 0 to %1 s</translation>
    </message>
    <message>
        <source>шагов больше %1</source>
        <translation>more than %1 steps</translation>
    </message>
    <message>
        <source>у программы свои пределы защиты, а список их не передаёт</source>
        <translation>the program has protection limits of its own, which a list cannot hold</translation>
    </message>
    <message>
        <source>в списке вышло бы больше %1 строк</source>
        <translation>the list would have more than %1 rows</translation>
    </message>
    <message>
        <source>файл больше 1 МиБ</source>
        <translation>the file is larger than 1 MiB</translation>
    </message>
    <message>
        <source>нулевой байт</source>
        <translation>NUL byte</translation>
    </message>
    <message>
        <source>«%1»: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>неизвестный ключ %1</source>
        <translation>unknown key %1</translation>
    </message>
    <message>
        <source>ключ %1 повторён</source>
        <translation>duplicate key %1</translation>
    </message>
    <message>
        <source>нет ключа %1</source>
        <translation>missing key %1</translation>
    </message>
    <message>
        <source>%1 должно быть числом</source>
        <translation>%1 must be a number</translation>
    </message>
    <message>
        <source>%1 должно быть от 0 до %2 с</source>
        <translation>%1 must be from 0 to %2 s</translation>
    </message>
    <message>
        <source>%1 или %2</source>
        <translation>%1 or %2</translation>
    </message>
    <message>
        <source>%1 должно быть %2</source>
        <translation>%1 must be %2</translation>
    </message>
    <message>
        <source>документ должен быть объектом JSON</source>
        <translation>the document must be a JSON object</translation>
    </message>
    <message>
        <source>%1 должно быть целым числом</source>
        <translation>%1 must be an integer</translation>
    </message>
    <message>
        <source>версия %1 новее, чем эта программа умеет читать (%2)</source>
        <translation>version %1 is newer than this controller can read (%2)</translation>
    </message>
    <message>
        <source>версии %1 не бывает, первая — 1</source>
        <translation>there is no version %1; the first is 1</translation>
    </message>
    <message>
        <source>%1 должно быть списком [ ]</source>
        <translation>%1 must be an array [ ]</translation>
    </message>
    <message>
        <source>элемент &quot;steps&quot; должен быть объектом { }</source>
        <translation>an element of &quot;steps&quot; must be an object { }</translation>
    </message>
    <message>
        <source>групп вложено больше %1</source>
        <translation>more than %1 nested groups</translation>
    </message>
    <message>
        <source>&quot;repeat&quot; должно быть целым числом от 1 до %1 или &quot;until_stopped&quot;</source>
        <translation>&quot;repeat&quot; must be an integer from 1 to %1 or &quot;until_stopped&quot;</translation>
    </message>
    <message>
        <source>%1 должно быть строкой</source>
        <translation>%1 must be a string</translation>
    </message>
    <message>
        <source>%1 должно быть true или false</source>
        <translation>%1 must be true or false</translation>
    </message>
    <message>
        <source>у &quot;ramp&quot; нет &quot;duration_s&quot;: плавному изменению нужна длительность</source>
        <translation>&quot;ramp&quot; without &quot;duration_s&quot;: a ramp needs a duration</translation>
    </message>
    <message>
        <source>&quot;ramp&quot; и %1 задают одно и то же</source>
        <translation>&quot;ramp&quot; and %1 set the same quantity</translation>
    </message>
    <message>
        <source>у &quot;until&quot; нет &quot;max_duration_s&quot;: условие может не наступить</source>
        <translation>&quot;until&quot; without &quot;max_duration_s&quot;: the condition may never be met</translation>
    </message>
    <message>
        <source>%1 должно быть объектом { }</source>
        <translation>%1 must be an object { }</translation>
    </message>
    <message>
        <source>%1 должно быть больше нуля</source>
        <translation>%1 must be greater than zero</translation>
    </message>
    <message>
        <source>&quot;cells&quot; должно быть целым числом от 1 до %1</source>
        <translation>&quot;cells&quot; must be an integer from 1 to %1</translation>
    </message>
    <message>
        <source>условие в &quot;until&quot; должно быть объектом с одним ключом и, может быть, &quot;then&quot;</source>
        <translation>a condition in &quot;until&quot; must be an object with one key and, optionally, &quot;then&quot;</translation>
    </message>
    <message>
        <source>&quot;time_of_day&quot; должно быть временем &quot;ЧЧ:ММ&quot; или &quot;ЧЧ:ММ:СС&quot;</source>
        <translation>&quot;time_of_day&quot; must be a time &quot;HH:MM&quot; or &quot;HH:MM:SS&quot;</translation>
    </message>
    <message>
        <source>строка %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>Не удалось записать «%1»: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramTree</name>
    <message>
        <source>№</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Название</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Напряжение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выход</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окончание по условию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не дольше</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, плавно</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Группа: повторить %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Группа: повторять до остановки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Двойной щелчок, F2 или правая кнопка: длительность и плавное изменение</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramsWindow</name>
    <message>
        <source>Программы (*.json);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Таблицы CSV (*.csv);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>План</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шаги</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заряд аккумулятора…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выполнение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Защита</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть программу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить программу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>новая программа</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа: %1 (изменена)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Новая программа</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа изменена и не сохранена. Начать новую без этих изменений?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Начать новую</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressView</name>
    <message>
        <source>ещё %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выполнено</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1&#xa0;%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>через %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа не запущена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пауза: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шаг %1 из %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished">%1: %2</translation>
    </message>
    <message>
        <source>: сейчас %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Кончится по условию:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестно (шаги по условию)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В шаге: %1 (осталось не больше %2)
С начала: %3
До конца программы: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Последний запуск (%1–%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: заряд аккумулятора
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2
Заряд %3 А·ч, энергия %4 Вт·ч, длительность %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 А·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — %2&#xa0;% от %3 А·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Аккумулятор: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окончание: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заряд: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Энергия: %1 Вт·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В конце: %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>предел программы: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>по наибольшей длительности</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>по длительности</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>шаг %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>шаг %1 «%2»</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProtectionWatch</name>
    <message>
        <source>напряжение %1 В выше предела %2 В</source>
        <translation>voltage %1 V above the %2 V limit</translation>
    </message>
    <message>
        <source>ток %1 А выше предела %2 А</source>
        <translation>current %1 A above the %2 A limit</translation>
    </message>
    <message>
        <source>мощность %1 Вт выше предела %2 Вт</source>
        <translation>power %1 W above the %2 W limit</translation>
    </message>
    <message>
        <source>заряд %1 А·ч выше предела %2 А·ч</source>
        <translation>charge %1 Ah above the %2 Ah limit</translation>
    </message>
    <message>
        <source>энергия %1 Вт·ч выше предела %2 Вт·ч</source>
        <translation>energy %1 Wh above the %2 Wh limit</translation>
    </message>
    <message>
        <source>выход включён %1 с, предел %2 с</source>
        <translation>output on for %1 s, limit %2 s</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>no serial port to poll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the running program ends with this process; the output is left as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 supply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 supplies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remote</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>listening on port %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>metrics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>serving on port %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopping on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>running with %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReadingsChart</name>
    <message>
        <source>Время</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Напряжение, В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток, А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Мощность, Вт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Напряжение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ток</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Мощность</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1   нет связи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выход выкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CV   выход вкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC   выход вкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1   %2 В   %3 А   %4 Вт   %5</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReadingsWindow</name>
    <message>
        <source>Таблицы CSV (*.csv);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Графики</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Начать запись в CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Остановить запись</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить график в PNG…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт данных в CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Вид</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полная шкала</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Показать:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Всё</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Следить за новыми</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Колесо мыши меняет масштаб времени, с Ctrl — масштаб значений; перетаскивание сдвигает график и снимает слежение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>уставка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выход вкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выход выкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет связи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>шаг программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>защита</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отметки:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сбросить счётчики</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заряд: %1 А·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Энергия: %1 Вт·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выход включён: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись в CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл «%1» уже существует. Дописать в конец файла?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дописать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Перезаписать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Начать запись…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись в файл %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись не ведётся</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт данных</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Графики…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Остановить запись в CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись в CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить график</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Рисунки PNG (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось сохранить «%1».</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemoteConfig</name>
    <message>
        <source>remote control listens on %1: anyone who can reach this address can switch the supply&apos;s output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Remote] %1 must be a whole number from %2 to %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Remote] Enabled must be 0 or 1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunControls</name>
    <message>
        <source>Пуск</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не запущена: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось продолжить: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunSummaryFile</name>
    <message>
        <source>не удалось записать сводку выполнения в файл «%1»</source>
        <translation>cannot write the run summary to &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>ScpiServer</name>
    <message>
        <source>remote control cannot listen on %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetpointPanel</name>
    <message>
        <source>Включить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выключить</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsAdvice</name>
    <message>
        <source>Файл настроек «%1» нельзя прочитать. Программа работает с настройками по умолчанию и не изменяет этот файл. Чтобы вернуть свои настройки, выполните: sudo chown $USER: %2 &amp;&amp; chmod u+rw %2</source>
        <translation>The settings file &apos;%1&apos; cannot be read. The controller runs with the default settings and leaves that file as it is. To get your settings back, run: sudo chown $USER: %2 &amp;&amp; chmod u+rw %2</translation>
    </message>
    <message>
        <source>Файл настроек «%1» защищён от записи, настройки в него не сохраняются. Чтобы программа сохраняла их, выполните: chmod u+w %2</source>
        <translation>The settings file &apos;%1&apos; is write-protected, so settings are not saved to it. To have them saved, run: chmod u+w %2</translation>
    </message>
    <message>
        <source>Файл настроек «%1» принадлежит другому пользователю, настройки в него не сохраняются. Чтобы программа сохраняла их, выполните: sudo chown $USER: %2</source>
        <translation>The settings file &apos;%1&apos; belongs to another user, so settings are not saved to it. To have them saved, run: sudo chown $USER: %2</translation>
    </message>
    <message>
        <source>Не удалось сохранить настройки в файл «%1»: нет места на диске или нет права записи в папку «%2». Горячие значения сохранены в памяти, программа попробует записать их снова.</source>
        <translation>Cannot save the settings to &apos;%1&apos;: the disk is full or the directory &apos;%2&apos; is not writable. The hot values are kept in memory, and the controller will try to save them again.</translation>
    </message>
</context>
<context>
    <name>StepDelegate</name>
    <message>
        <source>Группа: повторить </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Группа: повторять до остановки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 — повторять, пока программу не остановят</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В</source>
        <translation type="unfinished">V</translation>
    </message>
    <message>
        <source>А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не менять</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>вкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>— не менять</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>с</source>
        <translation type="unfinished">s</translation>
    </message>
    <message>
        <source>как длительность</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StepTexts</name>
    <message>
        <source>%1 В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>вкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выкл.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 → %2 В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 → %2 А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 раза</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 раз</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток не выше</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток не ниже</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>напряжение не выше</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>напряжение не ниже</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>заряд</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>энергия</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>режим CV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>режим CC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>падение напряжения −ΔV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>напряжение не растёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>время суток</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В</source>
        <translation type="unfinished">V</translation>
    </message>
    <message>
        <source>А·ч</source>
        <translation type="unfinished">Ah</translation>
    </message>
    <message>
        <source>Вт·ч</source>
        <translation type="unfinished">Wh</translation>
    </message>
    <message>
        <source>чч:мм</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>с</source>
        <translation type="unfinished">s</translation>
    </message>
    <message>
        <source>%1 → стоп</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> или </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>напряжение ≤ %1 В</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ток ≤ %1 А</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>мощность ≤ %1 Вт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>заряд ≤ %1 А·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>энергия ≤ %1 Вт·ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>время ≤ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 эл., %3 А·ч</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SupplyController</name>
    <message>
        <source>%1 - уставка напряжения не была известна; с переключением выхода отправлено %2 В</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SupplyFrame</name>
    <message>
        <source>Нет связи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Соединен</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нету свободных COM-портов! Закройте приложения использующие последовательные порты.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет связи с источником питания. Убедитесь, что он включен в сеть и подключен к COM-порту компьютера.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Управление источником питания возможно только при выключенном состоянии тумблера On/Off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет доступа к COM-портам! Добавьте пользователя в группу dialout (sudo&#xa0;usermod&#xa0;-aG਍ialout&#xa0;$USER) и войдите в систему заново.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Источник питания</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Модель</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Стабилизация</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Устройство %1 не существует; программа ждёт его появления.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SupplyStation</name>
    <message>
        <source>Источник питания выполняет программу или запись</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сработала защита, выход выключен</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimerPanel</name>
    <message>
        <source>Таймер/Секундомер</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ч   :  м  :   с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вкл. секундомер</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вкл. таймер</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TripBanner</name>
    <message>
        <source>Сбросить защиту</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сработала защита, выход выключен: %1. Выход можно будет включить после сброса.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UnitEdit</name>
    <message>
        <source>От %1 до %2 %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
