DizoForm 1
# The main window: relay switch, manual send boxes, help panel, exit and About buttons.
Begin Form Form1
    Caption = "Dizo Chat por QD4RV "
    ClientWidth = 6270
    ClientHeight = 7545
    Width = 6420
    Height = 8055
    Icon = Picture("art/dizo.ico")
    Begin Label Label3
        Left = 120
        Top = 240
        Width = 615
        Height = 735
        TabIndex = 16
        Caption = ""
        BackColor = &H00FFFFFF&
    End
    Begin AnimatedPicture AniGIF2
        Left = 120
        Top = 360
        Width = 495
        Height = 615
        TabIndex = 3
        Picture = Picture("art/anim-microfone.gif")
    End
    Begin Image Image1
        Left = 720
        Top = 240
        Width = 3735
        Height = 765
        Picture = Picture("art/banner.png")
        Stretch = True
    End
    Begin AnimatedPicture AniGIF1
        Left = 4440
        Top = 240
        Width = 1680
        Height = 720
        TabIndex = 2
        Picture = Picture("art/anim-mastro.gif")
    End
    Begin Label Label2
        Left = 3240
        Top = 960
        Width = 1335
        Height = 255
        TabIndex = 8
        Caption = "dizo chat - cw"
        ForeColor = &H00FF0000&
        Font = Font("MS Sans Serif", 8.25, Bold)
    End
    Begin Button ligar
        Left = 360
        Top = 1440
        Width = 2175
        Height = 615
        TabIndex = 4
        Caption = "Ligar "
        Font = Font("Times New Roman", 15.75, Bold)
        cBHover = &H0000FF00&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        Image = Picture("art/ligar.ico")
        ImgSize = 32%
        cBack = &H0080FF80&
    End
    Begin Image Image2
        Left = 3000
        Top = 1680
        Width = 330
        Height = 315
        Picture = Picture("art/lamp-on.png")
    End
    Begin Image Image3
        Left = 3000
        Top = 1680
        Width = 330
        Height = 315
        Picture = Picture("art/lamp-off.png")
    End
    Begin Button desligar
        Left = 3720
        Top = 1440
        Width = 2175
        Height = 615
        TabIndex = 5
        Caption = "Desligar"
        Font = Font("Times New Roman", 15.75, Bold)
        cBHover = &H0000FF00&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        Image = Picture("art/desligar.ico")
        ImgSize = 32%
        cBack = &H0080FF80&
    End
    Begin Frame Frame1
        Left = 120
        Top = 2400
        Width = 6015
        Height = 3615
        TabIndex = 12
        Caption = ""
        Begin Label Label1
            Left = 240
            Top = 240
            Width = 5535
            Height = 225
            TabIndex = 13
            Caption = "Digite texto para CW aqui, após click no botão de envio abaixo"
            ForeColor = &H00000080&
            Font = Font("MS Sans Serif", 8.25, Bold)
        End
        Begin Label Label5
            Left = 240
            Top = 1560
            Width = 5610
            Height = 225
            TabIndex = 14
            Caption = "Digite texto para DIZO aqui, após click no botão de envio abaixo"
            ForeColor = &H00000080&
            Font = Font("MS Sans Serif", 8.25, Bold)
        End
    End
    Begin TextBox Text1
        Left = 360
        Top = 3000
        Width = 5655
        Height = 765
        TabIndex = 0
        Text = ""
        MultiLine = True
        ScrollBars = 2
        BackColor = &H00C0FFC0&
        Font = Font("MS Sans Serif", 12, Bold)
    End
    Begin TextBox Text13
        Left = 300
        Top = 4290
        Width = 5655
        Height = 765
        TabIndex = 1
        Text = ""
        MultiLine = True
        ScrollBars = 2
        BackColor = &H0080FF80&
        Font = Font("MS Sans Serif", 12, Bold)
    End
    Begin Button local
        Left = 240
        Top = 5280
        Width = 2775
        Height = 615
        TabIndex = 6
        Caption = "Envio local (RF)"
        Font = Font("Times New Roman", 14.25, Bold)
        cBHover = &H000080FF&
        LockHover = 1
        Mode = 0
        Value = False
        ImgSize = 32%
        cBack = &H0080C0FF&
    End
    Begin Button remoto
        Left = 3240
        Top = 5280
        Width = 2775
        Height = 615
        TabIndex = 7
        Caption = "Envio remoto (IP)"
        Font = Font("Times New Roman", 14.25, Bold)
        cBHover = &H000080FF&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        ImgSize = 32%
        cBack = &H0080C0FF&
    End
    Begin Button a_ajuda
        Left = 240
        Top = 6600
        Width = 1575
        Height = 615
        TabIndex = 9
        Caption = "Ajuda"
        Font = Font("Times New Roman", 14.25, Bold)
        cBHover = &H00FF00FF&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        Image = Picture("art/ajuda.bmp")
        ImgSize = 32%
        cBack = &H00FF80FF&
    End
    Begin Button sobre
        Left = 2040
        Top = 6600
        Width = 1575
        Height = 615
        TabIndex = 15
        Caption = "Sobre"
        Font = Font("Times New Roman", 15.75, Bold)
        cBHover = &H00FFFF00&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        Image = Picture("art/sobre.bmp")
        ImgSize = 32%
        cBack = &H00FFFF80&
    End
    Begin Button sair
        Left = 4200
        Top = 6600
        Width = 1815
        Height = 735
        TabIndex = 11
        Caption = "Sair"
        Font = Font("Times New Roman", 20.25, Bold)
        cBHover = &H000000C0&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        Image = Picture("art/sair.ico")
        ImgSize = 32%
        cBack = &H0080FFFF&
    End
    Begin TextBox Text12
        Left = 6720
        Top = 960
        Width = 4575
        Height = 5295
        TabIndex = 17
        Text = "Somente para Link ou Repetidor\r\n----------------------------------------------------\r\n\r\nConfigure em  \"IDENT\" CW Speed /\r\nPitch /Level. Aconselha-se a usar\r\nvelocidade padrão no CW\r\n\r\nCom o DIZO TEXTO ligado:\r\nQuando se recebe o texto no CHAT \r\ndo Echolink e que termina com  o \r\nsímbolo  \">\" ,  converte-se   os\r\ncaracteres do  texto  em  Código\r\nMorse e os transmite.\r\n\r\nQuando se recebe o texto no CHAT\r\ndo Echolink e que termina com  o\r\nsímbolo  \"=\" ,  converte-se   os\r\ncaracteres do texto em voz  e os\r\ntransmite em dizo do Windows.\r\n\r\n\r\nNecessidades prévia:\r\n\r\nInstale o sintetizador (Speech \r\nApplication Programming Interface\r\n- SAPI) do idioma portugues que é\r\no lhttsptb.exe.\r\n \r\nInstale o arquivo sintetizador de\r\nvoz (TTS - Text To Speech)  junto \r\nestá a voz  de  Raquel  que  é  o \r\nRaquel-ptBR.exe.\r\n\r\n"
        MultiLine = True
        ScrollBars = 2
        BackColor = &H8000000A&
        Font = Font("MS Sans Serif", 9.75, Bold)
    End
    Begin Button f_ajuda
        Left = 7680
        Top = 6720
        Width = 2775
        Height = 615
        TabIndex = 10
        Caption = "Fechar ajuda"
        Font = Font("Times New Roman", 14.25, Bold)
        cBHover = &H00FF00FF&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        Image = Picture("art/fechar-ajuda.bmp")
        ImgSize = 32%
        cBack = &H00FF80FF&
    End
End
